# Dynamic modules, module resources and sound output.
include(${PROJECT_SOURCE_DIR}/tests/units/TestUnits.cmake)

jbw_add_test(platform_modules_test SOURCES DynamicModuleTest.cpp ModuleResourcesTest.cpp
  LIBS jbw_platform)
target_compile_definitions(platform_modules_test PRIVATE ${JBW_TEST_UNIT_DEFINITIONS})
add_dependencies(platform_modules_test ${JBW_TEST_UNITS})

jbw_add_test(platform_sound_test
  SOURCES WaveBytes.h DiskDevice.h WaveImageTest.cpp WaveSourceTest.cpp SoundOutputTest.cpp
          SoundStreamTest.cpp
  LIBS jbw_platform)
target_compile_definitions(platform_sound_test PRIVATE ${JBW_TEST_UNIT_DEFINITIONS})
add_dependencies(platform_sound_test ${JBW_TEST_UNITS})
