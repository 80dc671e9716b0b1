# The fuzz targets; tests/CMakeLists.txt runs each for a bounded time when a fuzz build is named.
set(PERUMINA_FUZZ_TARGETS fuzz_records fuzz_inbox fuzz_csv fuzz_index)
