# vk41_embed(TARGET FILES...) makes a static library that holds every file as
# a byte array, found at run time by its file name (see ui/resources.h).
function(vk41_embed target)
  set(out ${CMAKE_BINARY_DIR}/${target}.cpp)
  list(JOIN ARGN "|" files)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFILES=${files}" -P ${CMAKE_SOURCE_DIR}/cmake/embed_files.cmake
    DEPENDS ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/embed_files.cmake
    COMMENT "Embedding resources"
    VERBATIM)
  add_library(${target} STATIC ${out})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
