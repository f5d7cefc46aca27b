file(REMOVE_RECURSE
  "CMakeFiles/rkftestsupport_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/rkftestsupport_autogen.dir/ParseCache.txt"
  "rkftestsupport_autogen"
  "CMakeFiles/rkftestsupport.dir/rkftestsupport_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/rkftestsupport.dir/rkftestsupport_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/rkftestsupport.dir/support/TestFiles.cpp.o"
  "CMakeFiles/rkftestsupport.dir/support/TestFiles.cpp.o.d"
  "librkftestsupport.a"
  "librkftestsupport.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/rkftestsupport.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
