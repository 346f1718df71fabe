# zorvan_add_test(NAME name SOURCES ... LIBS ... [LABELS ...])
# Builds a GoogleTest executable and registers its cases with CTest. Every test runs
# with fresh XDG folders, the offscreen Qt platform and the dummy audio driver, so
# no test touches the user's files or needs a display or a sound card.
set(ZORVAN_PEERS_DIR "${CMAKE_SOURCE_DIR}/../shared/peers" CACHE PATH "Third-party test material")

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
  # An empty label list would be dropped and shift the properties after it.
  if(NOT labels)
    set(labels unit)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      LABELS "${labels}"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy"
    TEST_PREFIX "${T_NAME}.")
endfunction()
