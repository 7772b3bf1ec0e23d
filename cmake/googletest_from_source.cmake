# GoogleTest for a cross build: there are no prebuilt libraries for the target, so it is built
# here from Debian's googletest sources (or those that GOOGLETEST_SOURCE_DIR names), under the
# names that find_package(GTest) gives (GTest::gtest, GTest::gtest_main).
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree")
if(NOT EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are not in ${GOOGLETEST_SOURCE_DIR} (install the googletest package)")
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own warnings are not ours.
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
