# Host build: the core on the in-memory fake platform, with GoogleTest.
if(UPDATER_SANITIZE)
  set(UPDATER_SANITIZER_FLAGS -fsanitize=address,undefined
      -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  # The core and the checker were defined before this file: they get the
  # flags of their own. Everything defined from here on (the platform
  # layers, the fake, the checker's executable, the tests) through the
  # directory's options.
  target_compile_options(updater_core PRIVATE ${UPDATER_SANITIZER_FLAGS})
  target_compile_options(updater_checker PRIVATE ${UPDATER_SANITIZER_FLAGS})
  add_compile_options(${UPDATER_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

file(GLOB UPDATER_FAKE_SOURCES CONFIGURE_DEPENDS tests/fake/*.cc tests/common/*.cc)
# The fake converts its code page 932 texts to and from UTF-8 as the host
# checker does.
add_library(platform_fake STATIC ${UPDATER_FAKE_SOURCES}
            platform/posix/text_encoding.cc)
target_include_directories(platform_fake PUBLIC ${CMAKE_SOURCE_DIR})
# The fake serves the real string table, read from the resource script.
target_compile_definitions(platform_fake PRIVATE
  UPDATER_STRINGS_RC="${CMAKE_SOURCE_DIR}/res/strings.rc")
# The fake reads its settings files with the core's portable profile rules
# (platform/profile_text.cc); whatever links it gets the core with it.
target_link_libraries(platform_fake PUBLIC updater_core)

# updater-check for Linux: settings files from the local file system; no
# Windows, so nothing else is found, changed or started.
file(GLOB UPDATER_POSIX_SOURCES CONFIGURE_DEPENDS platform/posix/*.cc)
add_library(platform_posix STATIC ${UPDATER_POSIX_SOURCES})
target_link_libraries(platform_posix PUBLIC updater_core)
add_executable(updater-check checker/main.cc)
target_compile_options(updater-check PRIVATE -Wall -Wextra -fno-exceptions)
target_link_libraries(updater-check PRIVATE updater_checker updater_core
                      platform_posix)
# As it ships (Release): stripped, and with the C++ runtime linked in, so
# that it needs only the C library of the machine it runs on. The C library
# stays shared: its iconv loads the code page 932 converter at run time.
target_link_options(updater-check PRIVATE
  "$<$<CONFIG:Release>:-static-libstdc++;-static-libgcc;-s>")

# Start-up against the size of [DEFINE] (bench/define-bench.sh); built only
# when asked for.
add_executable(define_bench EXCLUDE_FROM_ALL bench/define_startup.cc)
target_link_libraries(define_bench PRIVATE updater_core platform_fake)

if(UPDATER_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  file(GLOB UPDATER_UNIT_TESTS CONFIGURE_DEPENDS
       tests/unit/*.cc tests/contract/*.cc)
  add_executable(unit_tests ${UPDATER_UNIT_TESTS}
                 tests/checker/differential.cc)
  target_link_libraries(unit_tests updater_checker updater_core platform_fake
                        GTest::gtest_main)
  target_compile_definitions(unit_tests PRIVATE
    UPDATER_CHECKER_CORPUS="${CMAKE_SOURCE_DIR}/tests/checker/corpus")
  include(GoogleTest)
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
  # The private-profile cases of the contract, against the Linux checker's
  # reading of real files.
  add_executable(posix_profile_contract
    tests/contract/platform_contract_test.cc
    tests/contract/posix/test_env_posix.cc)
  target_link_libraries(posix_profile_contract updater_core platform_posix
                        GTest::gtest_main)
  add_test(NAME posix_profile_contract
           COMMAND posix_profile_contract --gtest_filter=ProfileContract.*)
  set_tests_properties(posix_profile_contract PROPERTIES TIMEOUT 60)
  add_subdirectory(tests/fuzz)
  add_subdirectory(tests/checker)
endif()
