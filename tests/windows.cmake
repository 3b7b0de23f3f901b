# The tests of the Windows build: the programs that need neither a database server nor the
# window, run under Wine (scripts/windows.sh). GoogleTest is built from Debian's sources with the
# same cross compiler. Each program is one CTest test run through Wine.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all wine)

# The helpers that do not touch a database.
add_library(quorvel_testes_apoio STATIC
  apoio/pasta_temporaria.cpp apoio/audio_amostras.cpp apoio/executavel_pe.cpp apoio/ferramentas_gravadas.cpp)
target_include_directories(quorvel_testes_apoio PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quorvel_testes_apoio PUBLIC quorvel_core GTest::gtest)
target_compile_definitions(quorvel_testes_apoio PUBLIC
  QUORVEL_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
  QUORVEL_FONTE="${CMAKE_SOURCE_DIR}"
  QUORVEL_PROGRAMA="$<TARGET_FILE:quorvel2009_2010>")

# test_<name> from the given sources.
function(quorvel_testes_windows nome)
  add_executable(test_${nome} ${ARGN})
  target_link_libraries(test_${nome} PRIVATE quorvel_testes_apoio GTest::gtest_main)
  add_test(NAME ${nome} COMMAND test_${nome} --gtest_brief=1)
  set_tests_properties(${nome} PROPERTIES TIMEOUT 900)
endfunction()

file(GLOB _platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cpp)
file(GLOB _audio CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/audio/*.cpp)
quorvel_testes_windows(platform ${_platform})
quorvel_testes_windows(audio ${_audio})
quorvel_testes_windows(music migration/test_duracao.cpp music/test_identidade_rede.cpp music/test_info_audio.cpp)
# The client library loader only: every other database test needs a Firebird server. An
# InterBase-era client beside the test program, without fb_interpret.
quorvel_testes_windows(db db/test_cliente_fb.cpp)
add_library(cliente_sem_fb_interpret SHARED db/cliente_sem_fb_interpret.c)
set_target_properties(cliente_sem_fb_interpret PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_options(cliente_sem_fb_interpret PRIVATE -static)
add_dependencies(test_db cliente_sem_fb_interpret)

# The Win32 window driven from outside (tests/janela_win32). It needs a display: scripts/windows.sh
# runs it under Xvfb apart from the tests above. The stand-in server programs (only their version
# resources matter) are built beside it.
if(TARGET quorvel_janela_win32)
  foreach(_v 213 259)
    add_executable(test_fbserver_${_v} janela_win32/servidor_falso/fbserver.c janela_win32/servidor_falso/fbserver_${_v}.rc)
  endforeach()
  add_executable(test_janela_win32 janela_win32/apoio_win32.cpp janela_win32/servidor_registrado.cpp
    janela_win32/test_janela_programa.cpp janela_win32/test_janela_execucao.cpp ${QUORVEL_RC})
  target_link_libraries(test_janela_win32 PRIVATE quorvel_testes_apoio quorvel_janela_win32 GTest::gtest_main)
  target_compile_definitions(test_janela_win32 PRIVATE UNICODE _UNICODE)
  add_dependencies(test_janela_win32 test_fbserver_213 test_fbserver_259 quorvel2009_2010)
  # The console launcher's test (scripts/windows.sh) puts this beside a copy of the launcher.
  add_executable(test_status janela_win32/status_teste.c)
endif()
