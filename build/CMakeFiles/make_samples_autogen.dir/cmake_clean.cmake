file(REMOVE_RECURSE
  "CMakeFiles/make_samples_autogen"
  "make_samples_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/make_samples_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
