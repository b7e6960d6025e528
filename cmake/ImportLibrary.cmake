# import_add_library(<name> [DEPS <targets...>] [EXCLUDE <regex>])
# One folder src/<name> is one static library of that name. Its sources are the .cpp, .ui and .qrc files of the
# folder and its subfolders; a folder that holds none yet still gives an (empty) library so that the dependency
# graph stands from the start.
function(import_add_library name)
  cmake_parse_arguments(L "" "EXCLUDE" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(L_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${L_EXCLUDE}")
  endif()
  if(NOT sources)
    set(empty ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    if(NOT EXISTS ${empty})
      file(WRITE ${empty} "// This library has no code of its own yet.\n")
    endif()
    set(sources ${empty})
  endif()
  add_library(${name} STATIC ${sources})
  # Automoc does not notice on its own that the glob found a new header (its dependency on the list of sources is
  # order-only with Ninja). When the list changes, its stamp goes, so that it scans the headers again.
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.txt)
  string(REPLACE ";" "\n" listed "${sources}")
  set(previous "")
  if(EXISTS ${list_file})
    file(READ ${list_file} previous)
  endif()
  if(NOT previous STREQUAL "${listed}\n")
    file(WRITE ${list_file} "${listed}\n")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/timestamp)
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${L_DEPS})
endfunction()
