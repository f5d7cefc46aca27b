file(REMOVE_RECURSE
  "CMakeFiles/rkftestsupport_autogen"
  "rkftestsupport_autogen/mocs_compilation.cpp"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/rkftestsupport_autogen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
