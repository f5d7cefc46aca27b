
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/build/rkfcore_autogen/mocs_compilation.cpp" "CMakeFiles/rkfcore.dir/rkfcore_autogen/mocs_compilation.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/rkfcore_autogen/mocs_compilation.cpp.o.d"
  "/work/main/src/export/CsvText.cpp" "CMakeFiles/rkfcore.dir/src/export/CsvText.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/export/CsvText.cpp.o.d"
  "/work/main/src/export/SaveText.cpp" "CMakeFiles/rkfcore.dir/src/export/SaveText.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/export/SaveText.cpp.o.d"
  "/work/main/src/platform/CodePage.cpp" "CMakeFiles/rkfcore.dir/src/platform/CodePage.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/platform/CodePage.cpp.o.d"
  "/work/main/src/platform/FileNames.cpp" "CMakeFiles/rkfcore.dir/src/platform/FileNames.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/platform/FileNames.cpp.o.d"
  "/work/main/src/platform/FileRead.cpp" "CMakeFiles/rkfcore.dir/src/platform/FileRead.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/platform/FileRead.cpp.o.d"
  "/work/main/src/platform/NumberText.cpp" "CMakeFiles/rkfcore.dir/src/platform/NumberText.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/platform/NumberText.cpp.o.d"
  "/work/main/src/score/LoadScoreFile.cpp" "CMakeFiles/rkfcore.dir/src/score/LoadScoreFile.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/score/LoadScoreFile.cpp.o.d"
  "/work/main/src/score/RankingText.cpp" "CMakeFiles/rkfcore.dir/src/score/RankingText.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/score/RankingText.cpp.o.d"
  "/work/main/src/score/ReadRKF.cpp" "CMakeFiles/rkfcore.dir/src/score/ReadRKF.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/score/ReadRKF.cpp.o.d"
  "/work/main/src/score/Report.cpp" "CMakeFiles/rkfcore.dir/src/score/Report.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/score/Report.cpp.o.d"
  "/work/main/src/support/Failure.cpp" "CMakeFiles/rkfcore.dir/src/support/Failure.cpp.o" "gcc" "CMakeFiles/rkfcore.dir/src/support/Failure.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
