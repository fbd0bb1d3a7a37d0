# Media throughput tools; included from this folder's CMakeLists.txt.
add_executable(record_throughput ${CMAKE_CURRENT_LIST_DIR}/record_throughput.cpp)
target_link_libraries(record_throughput PRIVATE sim_stream recording)

add_executable(sim_ts_dump ${CMAKE_CURRENT_LIST_DIR}/sim_ts_dump.cpp)
target_link_libraries(sim_ts_dump PRIVATE sim_stream)

# The program's CPU time while recording a paced carrier through the real page.
add_executable(record_cpu ${CMAKE_CURRENT_LIST_DIR}/record_cpu.cpp ${CMAKE_BINARY_DIR}/app/version_stamp.cpp)
target_link_libraries(record_cpu PRIVATE app_core)
