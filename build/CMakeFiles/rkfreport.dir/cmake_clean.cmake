file(REMOVE_RECURSE
  "CMakeFiles/rkfreport_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/rkfreport_autogen.dir/ParseCache.txt"
  "rkfreport_autogen"
  "CMakeFiles/rkfreport.dir/rkfreport_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/rkfreport.dir/rkfreport_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/rkfreport.dir/src/rkfreport/main.cpp.o"
  "CMakeFiles/rkfreport.dir/src/rkfreport/main.cpp.o.d"
  "rkfreport"
  "rkfreport.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/rkfreport.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
