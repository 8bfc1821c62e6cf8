# Finishes the program's folder for the package (cmake -DSTAGE=<folder>
# -DSTRIP=<strip> -DOUT=<file> -P finish_stage.cmake): strips the symbols
# from the DLLs beside the program (the DLLs as built keep them), and writes
# the uninstaller's list of what the installer puts there: a Delete for each
# file, then an RMDir for each subfolder, deepest first, so that a folder
# keeps whatever else it holds.
file(GLOB_RECURSE dlls ${STAGE}/*.dll)
execute_process(COMMAND ${STRIP} --strip-unneeded ${dlls} COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
file(GLOB_RECURSE dirs LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
list(REMOVE_ITEM dirs ${files})
list(SORT dirs ORDER DESCENDING)
set(lines "")
foreach(f ${files})
    string(REPLACE "/" "\\" f "${f}")
    string(APPEND lines "    Delete \"$INSTDIR\\${f}\"\n")
endforeach()
foreach(d ${dirs})
    string(REPLACE "/" "\\" d "${d}")
    string(APPEND lines "    RMDir \"$INSTDIR\\${d}\"\n")
endforeach()
file(WRITE ${OUT} "${lines}")
