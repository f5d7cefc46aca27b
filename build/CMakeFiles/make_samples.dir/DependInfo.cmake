
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/build/make_samples_autogen/mocs_compilation.cpp" "CMakeFiles/make_samples.dir/make_samples_autogen/mocs_compilation.cpp.o" "gcc" "CMakeFiles/make_samples.dir/make_samples_autogen/mocs_compilation.cpp.o.d"
  "/work/main/tools/make_samples.cpp" "CMakeFiles/make_samples.dir/tools/make_samples.cpp.o" "gcc" "CMakeFiles/make_samples.dir/tools/make_samples.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/CMakeFiles/rkfcore.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
