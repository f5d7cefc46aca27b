CMakeFiles/make_samples.dir/make_samples_autogen/mocs_compilation.cpp.o: \
 /work/main/build/make_samples_autogen/mocs_compilation.cpp \
 /usr/include/stdc-predef.h
