# A unity build (-DCMAKE_UNITY_BUILD=ON, as scripts/package-check.sh and
# scripts/test.sh --sanitize do) compiles a target's files a few at a time as
# one unit. These files define a file-local name that another file of their
# target defines too, so they are compiled alone. Each entry: the folder whose
# CMakeLists.txt makes the target, then the file.
set(soten_unity_alone
  analysis analysis/reading/StrokeLookup.cpp
  analysis analysis/text/KanaCollation.cpp
  cli cli/batch/TableInput.cpp
  cli cli/batch/WorkbookReader.cpp
  cli cli/search/NameSearchCommand.cpp
  platform platform/files/PathResolution.cpp
  platform platform/files/UserDataFile.cpp
  printing printing/pages/DetailPage.cpp
  tests tests/analysis/StrokeDictionaryDataTest.cpp
  tests tests/analysis/StrokeLookupTest.cpp
  tests tests/platform/ShortlistFileTest.cpp
  tests tests/ui/NameColumnPictureTest.cpp
  tests tests/ui/ReadingPictureTest.cpp
  tests tests/ui/ReportFileTest.cpp
  tests tests/ui/ShortlistStoreTest.cpp
  ui ui/shortlist/ShortlistModel.cpp)
while(soten_unity_alone)
  list(POP_FRONT soten_unity_alone folder file)
  set_source_files_properties("${PROJECT_SOURCE_DIR}/${file}"
    DIRECTORY "${PROJECT_SOURCE_DIR}/${folder}"
    PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
endwhile()
