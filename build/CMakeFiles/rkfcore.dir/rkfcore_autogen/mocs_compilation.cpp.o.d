CMakeFiles/rkfcore.dir/rkfcore_autogen/mocs_compilation.cpp.o: \
 /work/main/build/rkfcore_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
