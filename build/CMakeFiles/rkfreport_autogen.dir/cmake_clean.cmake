file(REMOVE_RECURSE
  "CMakeFiles/rkfreport_autogen"
  "rkfreport_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/rkfreport_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
