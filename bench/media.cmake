# Media throughput tools; included from this folder's CMakeLists.txt.
add_executable(record_throughput ${CMAKE_CURRENT_LIST_DIR}/record_throughput.cpp)
target_link_libraries(record_throughput PRIVATE sim_stream recording)

add_executable(sim_ts_dump ${CMAKE_CURRENT_LIST_DIR}/sim_ts_dump.cpp)
target_link_libraries(sim_ts_dump PRIVATE sim_stream)
