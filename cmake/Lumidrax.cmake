# Helpers shared by the folders' CMakeLists.

find_package(GTest REQUIRED)
include(GoogleTest)

# Clipper 6.4 (Debian's libpolyclipping-dev): the roof-face union clips in its integer plane,
# and the tests and benchmarks take it as an independent oracle. One target for all of them.
find_path(LUMIDRAX_CLIPPER_INCLUDE clipper.hpp PATH_SUFFIXES polyclipping REQUIRED)
find_library(LUMIDRAX_CLIPPER_LIBRARY polyclipping REQUIRED)
add_library(Clipper::Clipper INTERFACE IMPORTED)
target_include_directories(Clipper::Clipper INTERFACE ${LUMIDRAX_CLIPPER_INCLUDE})
target_link_libraries(Clipper::Clipper INTERFACE ${LUMIDRAX_CLIPPER_LIBRARY})

# Link static libraries into a shared one whole, so every symbol they define is exported.
function(lumidrax_whole_archive target)
  foreach(lib ${ARGN})
    get_target_property(kind ${lib} TYPE)
    if(kind STREQUAL "STATIC_LIBRARY")
      target_link_libraries(${target} PUBLIC "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
    else()
      target_link_libraries(${target} PUBLIC ${lib})
    endif()
  endforeach()
endfunction()

# lumidrax_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
function(lumidrax_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "LUMIDRAX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# lumidrax_folder_library(NAME): a static library of every .cpp in the calling folder
# (an interface library while the folder has none yet).
function(lumidrax_folder_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${ARGN})
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${CMAKE_CURRENT_SOURCE_DIR})
  set(LUMIDRAX_LIBRARY_SCOPE ${scope} PARENT_SCOPE)
endfunction()

# lumidrax_add_folder_sources(TARGET): add every .cpp of the calling folder to TARGET and
# make its headers visible to TARGET's users.
function(lumidrax_add_folder_sources target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/qrxGe[^/]*\\.cpp$")
  target_sources(${target} PRIVATE ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# lumidrax_test_folder(NAME LIBS ...): one test executable of every .cpp in the calling folder.
function(lumidrax_test_folder name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    lumidrax_test(${name} SOURCES ${sources} LIBS ${T_LIBS})
  endif()
endfunction()
