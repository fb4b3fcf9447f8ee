# One subsystem = one folder under src/. Its files split into two targets by
# name: Qt adapters and forms (Qt*, *Form, *Window, *Dialog, *Widget) go to
# tavrin_<name>_qt, everything else to the toolkit-free tavrin_<name>.
# DEPS names the subsystems below; QT_DEPS the Qt libraries (tavrin_qt_library)
# the Qt layer uses besides theirs.
# Tests under tests/<name>/: *QtTest.cpp each become a QtTest executable run on
# the offscreen platform, every other *Test.cpp joins the GoogleTest
# executable <name>_tests.

set(TAVRIN_QT_NAME_PATTERN "^Qt|(Form|Window|Dialog|Widget)$")

# One QtTest executable of `file` against `library`, on the offscreen platform.
function(tavrin_qt_test file library)
  get_filename_component(base ${file} NAME_WE)
  add_executable(${base} ${file})
  target_link_libraries(${base} PRIVATE ${library} Qt6::Test)
  target_include_directories(${base} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${base} PRIVATE TAVRIN_TEST_OUTPUT_DIR="${PROJECT_BINARY_DIR}/test-output"
                                             TAVRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${base} COMMAND ${base})
  set_tests_properties(${base} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS qt)
  tavrin_use_qt_pch(${base})
endfunction()

# A folder of Qt helpers shared by the Qt layers of several subsystems, one
# library tavrin_<name> that links Qt and the cores named in DEPS. Every file
# in it is a Qt file by name; its tests are tests/<name>/*QtTest.cpp.
function(tavrin_qt_library name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp ${PROJECT_SOURCE_DIR}/src/${name}/*.h)
  foreach(f IN LISTS sources)
    get_filename_component(base ${f} NAME_WE)
    if(NOT base MATCHES "${TAVRIN_QT_NAME_PATTERN}")
      message(FATAL_ERROR "src/${name} holds Qt code only; ${base} would be taken for core code")
    endif()
  endforeach()
  list(TRANSFORM A_DEPS PREPEND tavrin_)
  add_library(tavrin_${name} STATIC ${sources})
  target_include_directories(tavrin_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(tavrin_${name} PUBLIC ${A_DEPS} Qt6::Widgets)
  target_compile_definitions(tavrin_${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  tavrin_use_qt_pch(tavrin_${name})

  if(TAVRIN_BUILD_TESTS)
    file(GLOB tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*QtTest.cpp)
    foreach(f IN LISTS tests)
      tavrin_qt_test(${f} tavrin_${name})
    endforeach()
  endif()
endfunction()

function(tavrin_subsystem name)
  cmake_parse_arguments(A "" "" "DEPS;QT_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
  # Qt resource files (icons) belong to the Qt layer.
  file(GLOB resources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.qrc)
  set(core_sources)
  set(qt_sources)
  foreach(f IN LISTS sources)
    get_filename_component(base ${f} NAME_WE)
    if(base MATCHES "${TAVRIN_QT_NAME_PATTERN}")
      list(APPEND qt_sources ${f})
    else()
      list(APPEND core_sources ${f})
    endif()
  endforeach()

  set(core_deps)
  set(qt_deps)
  foreach(d IN LISTS A_QT_DEPS)
    list(APPEND qt_deps tavrin_${d})
  endforeach()
  foreach(d IN LISTS A_DEPS)
    list(APPEND core_deps tavrin_${d})
    if(TARGET tavrin_${d}_qt)
      list(APPEND qt_deps tavrin_${d}_qt)
    endif()
  endforeach()

  if(core_sources)
    add_library(tavrin_${name} STATIC ${core_sources})
    target_include_directories(tavrin_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(tavrin_${name} PUBLIC ${core_deps})
    # The core's files compiled several to a file: each of them otherwise
    # parses the same standard and JSON headers again, most of a build.
    set_target_properties(tavrin_${name} PROPERTIES AUTOMOC OFF UNITY_BUILD ${TAVRIN_UNITY} UNITY_BUILD_BATCH_SIZE 8)
  else()
    add_library(tavrin_${name} INTERFACE)
    target_include_directories(tavrin_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(tavrin_${name} INTERFACE ${core_deps})
  endif()

  if(qt_sources)
    add_library(tavrin_${name}_qt STATIC ${qt_sources} ${resources})
    set_target_properties(tavrin_${name}_qt PROPERTIES AUTORCC ON)
    target_link_libraries(tavrin_${name}_qt PUBLIC tavrin_${name} ${qt_deps} Qt6::Widgets Qt6::Svg)
    target_compile_definitions(tavrin_${name}_qt PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
    tavrin_use_qt_pch(tavrin_${name}_qt)
  endif()

  if(NOT TAVRIN_BUILD_TESTS)
    return()
  endif()
  file(GLOB tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*Test.cpp)
  set(core_tests)
  foreach(f IN LISTS tests)
    get_filename_component(base ${f} NAME_WE)
    if(base MATCHES "QtTest$")
      tavrin_qt_test(${f} tavrin_${name}_qt)
    else()
      list(APPEND core_tests ${f})
    endif()
  endforeach()
  if(core_tests)
    add_executable(${name}_tests ${core_tests})
    target_link_libraries(${name}_tests PRIVATE tavrin_${name} GTest::gtest_main GTest::gmock)
    target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name}_tests PRIVATE TAVRIN_TEST_OUTPUT_DIR="${PROJECT_BINARY_DIR}/test-output"
                                                     TAVRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    set_target_properties(${name}_tests PROPERTIES AUTOMOC OFF UNITY_BUILD ${TAVRIN_UNITY} UNITY_BUILD_BATCH_SIZE 8)
    tavrin_gtest_options(${name}_tests)
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
