# Fails when an #include runs against the direction of the dependencies:
#   store <- search core, editing/logic, services/logic <- platform <- ui
#         <- feature windows and commands (editing, search/gui, services) <- shell <- app
# Above all: nothing below the shell includes the main window (or anything else of shell/).
# Run as: cmake -DROOT=<source dir> -P check_layering.cmake
set(bad "")

# Sets <out> to TRUE when <text> starts with one of the prefixes.
function(starts_with_any text out)
  set(hit FALSE)
  foreach(p ${ARGN})
    string(FIND "${text}" "${p}" at)
    if(at EQUAL 0)
      set(hit TRUE)
    endif()
  endforeach()
  set(${out} ${hit} PARENT_SCOPE)
endfunction()

# check_layer(<name> <files> ALLOWED <prefixes...> FORBIDDEN <prefixes...>)
# An include with a folder must start with an allowed prefix (when any are given) and
# with none of the forbidden ones.
function(check_layer name files)
  cmake_parse_arguments(L "" "" "ALLOWED;FORBIDDEN" ${ARGN})
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" inc "${line}")
      if(NOT inc MATCHES "/")
        continue()
      endif()
      starts_with_any("${inc}" allowed ${L_ALLOWED})
      starts_with_any("${inc}" forbidden ${L_FORBIDDEN})
      if((L_ALLOWED AND NOT allowed) OR forbidden)
        file(RELATIVE_PATH rel ${ROOT} ${f})
        list(APPEND bad "${rel} (${name}) includes ${inc}")
      endif()
    endforeach()
  endforeach()
  set(bad ${bad} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE store ${ROOT}/src/store/*.h ${ROOT}/src/store/*.cpp)
check_layer(store "${store}" ALLOWED store/)

file(GLOB core ${ROOT}/src/search/*.h ${ROOT}/src/search/*.cpp)
file(GLOB_RECURSE logic ${ROOT}/src/editing/logic/* ${ROOT}/src/services/logic/*)
check_layer(core "${core};${logic}" ALLOWED store/ search/ editing/logic/ services/logic/
            FORBIDDEN search/gui/)

file(GLOB_RECURSE platform ${ROOT}/src/platform/*.h ${ROOT}/src/platform/*.cpp)
check_layer(platform "${platform}" ALLOWED platform/ store/)

file(GLOB_RECURSE ui ${ROOT}/src/ui/*.h ${ROOT}/src/ui/*.cpp)
check_layer(ui "${ui}" ALLOWED ui/ platform/ store/ search/ editing/logic/ services/logic/
            FORBIDDEN search/gui/)

file(GLOB features ${ROOT}/src/editing/*.h ${ROOT}/src/editing/*.cpp ${ROOT}/src/services/*.h
     ${ROOT}/src/services/*.cpp)
file(GLOB_RECURSE search_gui ${ROOT}/src/search/gui/*.h ${ROOT}/src/search/gui/*.cpp)
check_layer(feature "${features};${search_gui}" FORBIDDEN shell/ app/ tools/)

if(bad)
  string(REPLACE ";" "\n" bad "${bad}")
  message(FATAL_ERROR "Includes against the direction of the dependencies:\n${bad}")
endif()
message(STATUS "Dependencies run one way")
