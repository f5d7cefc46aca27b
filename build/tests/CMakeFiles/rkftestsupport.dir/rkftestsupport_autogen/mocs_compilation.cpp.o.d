tests/CMakeFiles/rkftestsupport.dir/rkftestsupport_autogen/mocs_compilation.cpp.o: \
 /work/main/build/tests/rkftestsupport_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
