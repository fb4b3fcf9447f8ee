# What `cmake --install` puts under the prefix and `cpack -G DEB` packs: the
# program and the batch tool, the example cases, the desktop entry and the
# program's icon. Tests, benchmarks, the fuzzer and render-sample stay in the
# build tree.
include(GNUInstallDirs)

foreach(program IN ITEMS tavrin tavrin-batch)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrin/examples
        FILES_MATCHING PATTERN "*.json")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tavrin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/TavrinIcon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME tavrin.svg)

set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VERSION 0.1.0)
set(CPACK_PACKAGE_CONTACT "Tavrin maintainers <tavrin@example.org>")
# Line tables stay in the build tree; the package carries the bare programs
# (a fortieth of the size).
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "平面刚架力法教学程序 / teaching program: plane frames by the force method
The student types a plane frame into four tables (nodes, elements, supports,
loads), sees it drawn, states whether it is statically determinate, and works
through the force method one result table at a time, up to the
bending-moment, shear and axial-force diagrams. The interface is in Chinese.
tavrin-batch plays a case file through the same calculation without a window.
.
输入结点、单元、支座和荷载，画出结构，判定静定或超静定，
按力法逐步计算，直至弯矩图、剪力图和轴力图。")
# The libraries the programs link (Qt, the C and C++ runtimes), with the
# versions their symbols need, come from dpkg-shlibdeps. What Qt loads at
# run time is named here: the platform plugins, the CJK font of the
# interface and Qt's own Chinese texts of its dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk, qt6-translations-l10n")
include(CPack)

if(TAVRIN_BUILD_TESTS)
  add_test(NAME InstallAndPackage COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/install-and-package
                                          ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  set_tests_properties(InstallAndPackage PROPERTIES
    LABELS install
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;CMAKE=${CMAKE_COMMAND};CPACK=${CMAKE_CPACK_COMMAND}")
  # Instrumented programs are never installed; the normal build checks the
  # rules.
  if(TAVRIN_SANITIZE)
    set_tests_properties(InstallAndPackage PROPERTIES DISABLED ON)
  endif()
endif()
