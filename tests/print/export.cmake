kestrin_add_test(tst_export SOURCES tst_export.cpp LIBS kdata kprint)
target_compile_definitions(tst_export PRIVATE KESTRIN_EXPECTED_DIR="${CMAKE_CURRENT_SOURCE_DIR}/expected")
