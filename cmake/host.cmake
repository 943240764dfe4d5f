# Host build: the core on the in-memory fake platform, with GoogleTest.
if(UPDATER_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

file(GLOB UPDATER_FAKE_SOURCES CONFIGURE_DEPENDS tests/fake/*.cc)
add_library(platform_fake STATIC ${UPDATER_FAKE_SOURCES})
target_include_directories(platform_fake PUBLIC ${CMAKE_SOURCE_DIR})
# The fake serves the real string table, read from the resource script.
target_compile_definitions(platform_fake PRIVATE
  UPDATER_STRINGS_RC="${CMAKE_SOURCE_DIR}/res/strings.rc")
# The fake reads its settings files with the core's portable profile rules
# (platform/profile_text.cc); whatever links it gets the core with it.
target_link_libraries(platform_fake PUBLIC updater_core)

if(UPDATER_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  file(GLOB UPDATER_UNIT_TESTS CONFIGURE_DEPENDS
       tests/unit/*.cc tests/contract/*.cc)
  add_executable(unit_tests ${UPDATER_UNIT_TESTS})
  target_link_libraries(unit_tests updater_core platform_fake GTest::gtest_main)
  include(GoogleTest)
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
  add_subdirectory(tests/fuzz)
endif()
