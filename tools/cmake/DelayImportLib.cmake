# Script mode (cmake -P): makes a delay-load import library from the toolchain's ordinary one,
# so the DLL is loaded at the first call of one of its functions instead of before the program
# starts. Every function of the ordinary library is in it, named as there.
#   -DNM=<nm> -DDLLTOOL=<dlltool> -DOBJCOPY=<objcopy> -DSOURCE=<libX.a> -DOUTPUT=<libX.a>
#   -DWORK=<dir>
execute_process(COMMAND ${DLLTOOL} --identify ${SOURCE} OUTPUT_VARIABLE dll
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${NM} -g --defined-only ${SOURCE} OUTPUT_VARIABLE symbols
                COMMAND_ERROR_IS_FATAL ANY)
# Each function has an import pointer "__imp__Name@N" (stdcall) or "__imp__Name".
string(REGEX MATCHALL "__imp__[^\n]+" pointers "${symbols}")
list(REMOVE_DUPLICATES pointers)
list(SORT pointers)
set(def "LIBRARY ${dll}\nEXPORTS\n")
foreach(pointer ${pointers})
  string(REGEX REPLACE "^__imp__" "" name "${pointer}")
  string(APPEND def "${name}\n")
endforeach()
get_filename_component(base ${OUTPUT} NAME_WE)
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/${base}.def "${def}")
# -k: the DLL exports the names without the stdcall "@N".
execute_process(COMMAND ${DLLTOOL} -k -d ${WORK}/${base}.def -y ${WORK}/${base}-idata.a
                COMMAND_ERROR_IS_FATAL ANY)
# This dlltool (binutils 2.40) puts the delayed import table in the sections of the ordinary
# one (.idata$N), where the linker mixes it into another DLL's table: the loader then resolves
# those entries against the wrong DLL and the first call jumps to address 0. In sections of
# their own (.didat$N, as later binutils name them) they stay apart, left to the delay helper.
set(renames)
foreach(n 2 4 5 6 7)
  list(APPEND renames --rename-section ".idata$${n}=.didat$${n},alloc,load,data,contents")
endforeach()
execute_process(COMMAND ${OBJCOPY} ${renames} ${WORK}/${base}-idata.a ${OUTPUT}
                COMMAND_ERROR_IS_FATAL ANY)
