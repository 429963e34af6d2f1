# Shared compile options for every target of the project.
add_library(quorvel_options INTERFACE)
target_include_directories(quorvel_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_compile_options(quorvel_options INTERFACE -Wall -Wextra)
target_compile_definitions(quorvel_options INTERFACE _FILE_OFFSET_BITS=64)
if(QUORVEL_WERROR)
  target_compile_options(quorvel_options INTERFACE -Werror)
endif()

# Korean literals are written in UTF-8 and must be CP949 bytes at run time: the
# game counts lengths and lead bytes in CP949. GCC converts them; clang only
# knows UTF-8 as execution charset, so the fuzz build keeps UTF-8 literals
# (see docs/ARCHITECTURE.md). The game's code, its tests and benchmarks link
# quorvel_cp949; the platform layer holds no Korean literal and does not (the
# standard <chrono> header has a literal CP949 cannot hold, so game code
# asks the platform's clock instead of including it).
add_library(quorvel_cp949 INTERFACE)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(quorvel_cp949 INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP949>)
  target_compile_definitions(quorvel_cp949 INTERFACE QUORVEL_CP949_LITERALS=1)
else()
  target_compile_definitions(quorvel_cp949 INTERFACE QUORVEL_CP949_LITERALS=0)
endif()

if(QUORVEL_SANITIZE)
  target_compile_options(quorvel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(quorvel_options INTERFACE -fsanitize=address,undefined)
endif()
if(QUORVEL_FUZZ)
  # The lists are used under names with their digests, so that a change to
  # one misses the compiler cache and rebuilds.
  foreach(_list coverage sanitize)
    file(MD5 ${PROJECT_SOURCE_DIR}/fuzz/${_list}.ignorelist _digest)
    set(_${_list}List ${PROJECT_BINARY_DIR}/${_list}-${_digest}.ignorelist)
    configure_file(${PROJECT_SOURCE_DIR}/fuzz/${_list}.ignorelist ${_${_list}List} COPYONLY)
  endforeach()
  # Undefined behaviour ends the run as in the asan preset (and the checks
  # that do not recover let the compiler inline small accessors again).
  target_compile_options(quorvel_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined -fsanitize-coverage-ignorelist=${_coverageList}
    -fsanitize-ignorelist=${_sanitizeList})
  target_link_options(quorvel_options INTERFACE -fsanitize=address,undefined)
endif()

find_package(Threads REQUIRED)

# One static library per subsystem folder, made of every .cpp file in it.
set(QUORVEL_GAME_LIBS "" CACHE INTERNAL "")
function(quorvel_subsystem name)
  file(GLOB _src CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_library(q_${name} STATIC ${_src})
  target_link_libraries(q_${name} PUBLIC quorvel_options quorvel_cp949)
  set(QUORVEL_GAME_LIBS ${QUORVEL_GAME_LIBS} q_${name} CACHE INTERNAL "")
endfunction()
