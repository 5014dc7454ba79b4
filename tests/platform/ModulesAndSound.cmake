# Dynamic modules, module resources and sound output.
include(${PROJECT_SOURCE_DIR}/tests/units/TestUnits.cmake)

jbw_add_test(platform_modules_test SOURCES DynamicModuleTest.cpp ModuleResourcesTest.cpp
  UnitReaderTest.cpp LIBS jbw_platform)
target_compile_definitions(platform_modules_test PRIVATE ${JBW_TEST_UNIT_DEFINITIONS}
  JBW_MISBEHAVING_DIR="${JBW_MISBEHAVING_DIR}")
add_dependencies(platform_modules_test ${JBW_TEST_UNITS} misbehaving_units jbw-unit-pack
                 jbw_unit_template)

# Damaged Ogg files leave libvorbis's header state behind inside libsndfile, as in the
# fuzz target; the leak checker is told so, and only of those two libraries.
jbw_add_test(platform_sound_test
  SOURCES WaveBytes.h DiskDevice.h WaveImageTest.cpp WaveSourceTest.cpp SoundOutputTest.cpp
          SoundStreamTest.cpp SoundTapTest.cpp
  LIBS jbw_platform
  ENV LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/fuzz/lsan.supp)
# The tap is the voice's own; its callback speaks in SDL's types.
target_include_directories(platform_sound_test
  PRIVATE $<TARGET_PROPERTY:SDL2::SDL2,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(platform_sound_test PRIVATE ${JBW_TEST_UNIT_DEFINITIONS})
add_dependencies(platform_sound_test ${JBW_TEST_UNITS})

jbw_add_test(platform_microphone_watcher_test SOURCES MicrophoneWatcherTest.cpp
  LIBS jbw_platform)

# Its own process: it changes the environment SDL reads.
jbw_add_test(platform_sound_driver_test SOURCES SoundDriverTest.cpp LIBS jbw_platform)
target_compile_definitions(platform_sound_driver_test PRIVATE ${JBW_TEST_UNIT_DEFINITIONS})

# Clips in other formats, made from one tone at build time: FLAC and Ogg also cut short
# and with a damaged header. FLAC keeps the tone's samples exactly, the others do not.
find_program(JBW_SOX sox REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(format_dir ${CMAKE_CURRENT_BINARY_DIR}/formats)
set(format_clips ${format_dir}/tone.wav)
add_custom_command(OUTPUT ${format_dir}/tone.wav
  COMMAND ${CMAKE_COMMAND} -E make_directory ${format_dir}
  COMMAND ${JBW_SOX} -n -r 44100 -c 2 -b 16 -e signed-integer ${format_dir}/tone.wav
          synth 0.3 sine 660 gain -6
  VERBATIM)
foreach(ext flac ogg)
  add_custom_command(OUTPUT ${format_dir}/tone.${ext} ${format_dir}/cut.${ext} ${format_dir}/bad.${ext}
    COMMAND ${JBW_SOX} ${format_dir}/tone.wav ${format_dir}/tone.${ext}
    COMMAND ${Python3_EXECUTABLE} -c
            "import sys; d = open(sys.argv[1], 'rb').read(); open(sys.argv[2], 'wb').write(d[:len(d) // 2]); open(sys.argv[3], 'wb').write(bytes(64) + d[64:])"
            ${format_dir}/tone.${ext} ${format_dir}/cut.${ext} ${format_dir}/bad.${ext}
    DEPENDS ${format_dir}/tone.wav VERBATIM)
  list(APPEND format_clips ${format_dir}/tone.${ext})
endforeach()
# Opus and MP3 through libsndfile itself (Opus takes 48 kHz only).
find_library(JBW_SNDFILE NAMES libsndfile.so.1 sndfile REQUIRED)
add_executable(make_clip MakeClip.cpp)
target_link_libraries(make_clip PRIVATE ${JBW_SNDFILE})
add_custom_command(OUTPUT ${format_dir}/tone48.wav ${format_dir}/tone.opus ${format_dir}/tone.mp3
  COMMAND ${JBW_SOX} ${format_dir}/tone.wav -r 48000 ${format_dir}/tone48.wav
  COMMAND make_clip ${format_dir}/tone48.wav ${format_dir}/tone.opus
  COMMAND make_clip ${format_dir}/tone.wav ${format_dir}/tone.mp3
  DEPENDS ${format_dir}/tone.wav make_clip VERBATIM)
list(APPEND format_clips ${format_dir}/tone.opus ${format_dir}/tone.mp3)
add_custom_target(platform_format_clips DEPENDS ${format_clips})
add_dependencies(platform_sound_test platform_format_clips)
target_compile_definitions(platform_sound_test PRIVATE JBW_FORMAT_CLIPS="${format_dir}/")
