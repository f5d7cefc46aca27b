file(REMOVE_RECURSE
  "CMakeFiles/rkfcore_autogen.dir/AutogenUsed.txt"
  "CMakeFiles/rkfcore_autogen.dir/ParseCache.txt"
  "rkfcore_autogen"
  "CMakeFiles/rkfcore.dir/rkfcore_autogen/mocs_compilation.cpp.o"
  "CMakeFiles/rkfcore.dir/rkfcore_autogen/mocs_compilation.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/export/CsvText.cpp.o"
  "CMakeFiles/rkfcore.dir/src/export/CsvText.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/export/SaveText.cpp.o"
  "CMakeFiles/rkfcore.dir/src/export/SaveText.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/platform/CodePage.cpp.o"
  "CMakeFiles/rkfcore.dir/src/platform/CodePage.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/platform/FileNames.cpp.o"
  "CMakeFiles/rkfcore.dir/src/platform/FileNames.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/platform/FileRead.cpp.o"
  "CMakeFiles/rkfcore.dir/src/platform/FileRead.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/platform/NumberText.cpp.o"
  "CMakeFiles/rkfcore.dir/src/platform/NumberText.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/score/LoadScoreFile.cpp.o"
  "CMakeFiles/rkfcore.dir/src/score/LoadScoreFile.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/score/RankingText.cpp.o"
  "CMakeFiles/rkfcore.dir/src/score/RankingText.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/score/ReadRKF.cpp.o"
  "CMakeFiles/rkfcore.dir/src/score/ReadRKF.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/score/Report.cpp.o"
  "CMakeFiles/rkfcore.dir/src/score/Report.cpp.o.d"
  "CMakeFiles/rkfcore.dir/src/support/Failure.cpp.o"
  "CMakeFiles/rkfcore.dir/src/support/Failure.cpp.o.d"
  "librkfcore.a"
  "librkfcore.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/rkfcore.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
