CMakeFiles/rkfreport.dir/rkfreport_autogen/mocs_compilation.cpp.o: \
 /work/main/build/rkfreport_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
