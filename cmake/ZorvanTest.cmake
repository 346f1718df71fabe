# zorvan_add_test(NAME name SOURCES ... LIBS ... [LABELS ...])
# Builds a GoogleTest executable and registers its cases with CTest. Every test runs
# with fresh XDG folders, the offscreen Qt platform and the dummy audio driver, so
# no test touches the user's files or needs a display or a sound card.
#
# Third-party test material: -DZORVAN_PEERS_DIR=..., else the first of these folders that
# holds it: ../shared/peers beside the sources (a clone), ../../shared/peers (a worktree
# one level further down), /work/shared/peers. Tests that need it skip when it is absent
# (testing/peers.h also looks at $ZORVAN_PEERS_DIR when the tests run).
if(NOT EXISTS "${ZORVAN_PEERS_DIR}/README.md")
  foreach(candidate ../shared/peers ../../shared/peers /work/shared/peers)
    get_filename_component(dir "${candidate}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
    if(EXISTS "${dir}/README.md")
      set(ZORVAN_PEERS_DIR "${dir}" CACHE PATH "Third-party test material" FORCE)
      break()
    endif()
  endforeach()
endif()
set(ZORVAN_PEERS_DIR "${CMAKE_SOURCE_DIR}/../shared/peers" CACHE PATH "Third-party test material")
# Widget tests add this source: one QApplication for the whole test binary.
set(ZORVAN_QT_TEST_ENVIRONMENT "${CMAKE_SOURCE_DIR}/testing/qt_environment.cpp")

function(zorvan_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} zorvan_testing GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE
    ZORVAN_PEERS_DIR="${ZORVAN_PEERS_DIR}"
    ZORVAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ZORVAN_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set(labels ${T_LABELS})
  if(ZORVAN_SANITIZE)
    list(APPEND labels sanitize)
  endif()
  # The headless environment is set by the test main itself (testing/test_main.cpp), so
  # a test binary run by hand behaves as under CTest.
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    TEST_LIST ${T_NAME}_TESTS
    TEST_PREFIX "${T_NAME}.")
  # Labels are set by a script that CTest reads after the discovered tests, since a
  # list of labels does not survive the discovery's own property passing.
  if(labels)
    set(label_file "${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_labels.cmake")
    file(WRITE "${label_file}"
      "if(${T_NAME}_TESTS)\n"
      "  set_tests_properties(\${${T_NAME}_TESTS} PROPERTIES LABELS \"${labels}\")\n"
      "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${label_file}")
  endif()
endfunction()

# Tray and balloon tests add this source instead: a private session bus, an X server and
# the desktop's services (testing/desktop_session.h), then the QApplication.
set(ZORVAN_DESKTOP_TEST_ENVIRONMENT "${CMAKE_SOURCE_DIR}/testing/desktop_session.cpp")
