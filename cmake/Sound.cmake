# Effects and tunes: every WAV rendered from its recipe in content/sound/ by
# tools/sound/synth.py, every MIDI file compiled from its ABC score in
# content/music/ by tools/music/abc2mid.py.

find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(SOUND_SYNTH ${CMAKE_SOURCE_DIR}/tools/sound/synth.py)
set(MUSIC_COMPILER ${CMAKE_SOURCE_DIR}/tools/music/abc2mid.py)
file(MAKE_DIRECTORY ${GAME_DIR}/wave ${GAME_DIR}/midi)

file(GLOB SOUND_RECIPES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/sound/*.snd)
set(SOUND_OUTPUTS)
foreach(recipe ${SOUND_RECIPES})
  get_filename_component(name ${recipe} NAME_WE)
  set(out ${GAME_DIR}/wave/${name}.wav)
  add_custom_command(OUTPUT ${out}
    COMMAND Python3::Interpreter ${SOUND_SYNTH} ${recipe} ${out}
    DEPENDS ${recipe} ${SOUND_SYNTH}
    COMMENT "Rendering wave/${name}.wav"
    VERBATIM)
  list(APPEND SOUND_OUTPUTS ${out})
endforeach()

file(GLOB MUSIC_SCORES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/music/*.abc)
foreach(score ${MUSIC_SCORES})
  get_filename_component(name ${score} NAME_WE)
  set(out ${GAME_DIR}/midi/${name}.mid)
  add_custom_command(OUTPUT ${out}
    COMMAND Python3::Interpreter ${MUSIC_COMPILER} ${score} ${out}
    DEPENDS ${score} ${MUSIC_COMPILER}
    COMMENT "Compiling midi/${name}.mid"
    VERBATIM)
  list(APPEND SOUND_OUTPUTS ${out})
endforeach()

# The General MIDI bank cut down to the presets the tunes play: the
# synthesiser holds a whole bank in memory, and a full one is 140 MiB.
set(GM_SOUNDFONT /usr/share/sounds/sf2/FluidR3_GM.sf2)
if(EXISTS ${GM_SOUNDFONT})
  set(MIDI_OUTPUTS ${SOUND_OUTPUTS})
  list(FILTER MIDI_OUTPUTS INCLUDE REGEX "\\.mid$")
  add_custom_command(OUTPUT ${GAME_DIR}/midi/ossmire.sf2
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/sound/sf2subset.py ${GM_SOUNDFONT}
            ${GAME_DIR}/midi/ossmire.sf2 ${MIDI_OUTPUTS}
    DEPENDS ${MIDI_OUTPUTS} ${CMAKE_SOURCE_DIR}/tools/sound/sf2subset.py
    COMMENT "Cutting the General MIDI bank down to the tunes' instruments"
    VERBATIM)
  list(APPEND SOUND_OUTPUTS ${GAME_DIR}/midi/ossmire.sf2)
endif()

add_custom_target(sound ALL DEPENDS ${SOUND_OUTPUTS})

# The levels as the player hears them: every scene's effects and tune through
# the real mixer (SDL's disk driver), checked against their bands.
add_executable(ossmire-sound-levels ${CMAKE_SOURCE_DIR}/tools/sound/sound_levels.cpp)
target_link_libraries(ossmire-sound-levels PRIVATE ossmire-core ossmire-platform-sdl)
target_compile_options(ossmire-sound-levels PRIVATE ${OSSMIRE_WARNINGS})
add_dependencies(ossmire-sound-levels sound)
set(SOUND_VOICES)
foreach(recipe ${SOUND_RECIPES})
  file(STRINGS ${recipe} spoken REGEX "^voice ")
  if(spoken)
    get_filename_component(name ${recipe} NAME_WE)
    list(APPEND SOUND_VOICES ${name})
  endif()
endforeach()
string(REPLACE ";" "," SOUND_VOICES "${SOUND_VOICES}")
enable_testing()
if(EXISTS ${GM_SOUNDFONT})
  # Without the bank the tunes are silent and there is nothing to balance.
  # The ending restarts up.wav every frame while it counts: it must end within one.
  add_test(NAME sound.levels
    COMMAND ossmire-sound-levels --check --voices ${SOUND_VOICES} --tick up:16
    WORKING_DIRECTORY ${GAME_DIR})
endif()
add_test(NAME sound.synth COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/sound/synth_test.py)
add_test(NAME sound.abc2mid
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/music/abc2mid_test.py)
if(EXISTS ${GM_SOUNDFONT})
  # Every tune renders sample for sample the same from the cut bank as from the whole one.
  add_test(NAME sound.soundfont_subset
    COMMAND sh ${CMAKE_SOURCE_DIR}/tools/sound/check_soundfont.sh ${GM_SOUNDFONT}
            ${GAME_DIR}/midi/ossmire.sf2 ${MIDI_OUTPUTS})
  set_tests_properties(sound.soundfont_subset PROPERTIES SKIP_RETURN_CODE 77)
endif()
