file(REMOVE_RECURSE
  "CMakeFiles/rkfcore_autogen"
  "rkfcore_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/rkfcore_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
