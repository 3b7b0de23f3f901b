# The layers, checked on the include roots of the libraries: in each library a header of every
# folder its root holds compiles, and a header of any other folder (a layer above it, or beside
# it) does not, failing on that very include.
#
#   cmake -DCOMPILADOR=<c++> -DFONTE=<source> -DRAIZES=<build>/raizes [-DINCLUDES=<dir>] -P verificar_camadas.cmake
set(_pastas platform audio db migration music app/nucleo app/terminal app/programa)
set(_trabalho ${RAIZES}/../verificacao_camadas)
file(REMOVE_RECURSE ${_trabalho})
file(MAKE_DIRECTORY ${_trabalho})

file(GLOB _bibliotecas LIST_DIRECTORIES true ${RAIZES}/*)
if(NOT _bibliotecas)
  message(FATAL_ERROR "no include roots in ${RAIZES}")
endif()

set(_falhas "")
foreach(_raiz ${_bibliotecas})
  get_filename_component(_biblioteca ${_raiz} NAME)
  set(_vistas "")
  foreach(_pasta ${_pastas})
    # One header of the folder (the first by name) stands for the whole folder.
    file(GLOB _cabecalhos RELATIVE ${FONTE} ${FONTE}/${_pasta}/*.h)
    list(SORT _cabecalhos)
    list(GET _cabecalhos 0 _cabecalho)
    set(_fonte ${_trabalho}/${_biblioteca}_${_pasta}.cpp)
    file(WRITE ${_fonte} "#include \"${_cabecalho}\"\n")
    execute_process(
      COMMAND ${COMPILADOR} -std=c++20 -fsyntax-only -I${_raiz} -I${INCLUDES} ${_fonte}
      RESULT_VARIABLE _resultado OUTPUT_VARIABLE _saida ERROR_VARIABLE _saida)
    if(EXISTS ${_raiz}/${_pasta})
      list(APPEND _vistas ${_pasta})
      if(NOT _resultado EQUAL 0)
        list(APPEND _falhas "${_biblioteca} cannot include ${_cabecalho}:\n${_saida}")
      endif()
    elseif(_resultado EQUAL 0)
      list(APPEND _falhas "${_biblioteca} includes ${_cabecalho}, which lies outside its layers")
    elseif(NOT _saida MATCHES "${_cabecalho}")
      list(APPEND _falhas "${_biblioteca}: including ${_cabecalho} failed for another reason:\n${_saida}")
    endif()
  endforeach()
  list(JOIN _vistas " " _vistas)
  message(STATUS "${_biblioteca} sees ${_vistas} and nothing else")
endforeach()

if(_falhas)
  list(JOIN _falhas "\n" _texto)
  message(FATAL_ERROR "${_texto}")
endif()
