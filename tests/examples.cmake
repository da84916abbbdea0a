# The programs of examples/, each run as a user would run it, with its output,
# files and picture compared (tests/examples/run_example.py tells how).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(example_names arith countdown files graphics guess hello image inkey strings tcp_client)
foreach(name ${example_names})
  add_test(NAME example/${name}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/examples/run_example.py
      $<TARGET_FILE:vornbasic> ${PROJECT_SOURCE_DIR}/examples ${CMAKE_CURRENT_SOURCE_DIR}/examples
      ${PROJECT_SOURCE_DIR}/docs/images ${name})
  set_tests_properties(example/${name} PROPERTIES TIMEOUT 60 LABELS examples)
endforeach()
# The server example listens on a fixed port.
set_tests_properties(example/tcp_client PROPERTIES RESOURCE_LOCK port_47811)

# The language reference: every program sample runs as printed, and every
# statement, function and message is told.
add_test(NAME docs/language_samples
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/doc_samples.py
    $<TARGET_FILE:vornbasic> ${PROJECT_SOURCE_DIR}/docs/language.md ${PROJECT_SOURCE_DIR}/examples)
add_test(NAME docs/language_covers
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/doc_samples.py
    --covers ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/docs/language.md)
set_tests_properties(docs/language_samples docs/language_covers PROPERTIES LABELS docs TIMEOUT 120)
add_test(NAME docs/readme_samples
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/doc_samples.py
    $<TARGET_FILE:vornbasic> ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/examples)
set_tests_properties(docs/readme_samples PROPERTIES LABELS docs TIMEOUT 60)

# cmake --install into a scratch prefix: binary, manual page, desktop entry,
# MIME type, icons, reference and examples.
add_test(NAME packaging/install
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install_check.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
set_tests_properties(packaging/install PROPERTIES LABELS packaging TIMEOUT 120)
