file(REMOVE_RECURSE
  "CMakeFiles/make_samples_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/make_samples_autogen.dir/ParseCache.txt"
  "make_samples_autogen"
  "CMakeFiles/make_samples.dir/make_samples_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/make_samples.dir/make_samples_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/make_samples.dir/tools/make_samples.cpp.o"
  "CMakeFiles/make_samples.dir/tools/make_samples.cpp.o.d"
  "make_samples"
  "make_samples.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/make_samples.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
