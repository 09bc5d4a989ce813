# Checks the shipped program's headers: PE32, Windows GUI subsystem, the
# export "_PanelForm", and the version resource.
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE headers RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${FILE}")
endif()
foreach(expected "Magic[\t ]+010b[\t ]+\\(PE32\\)" "Subsystem[\t ]+00000002[\t ]+\\(Windows GUI\\)" "\\] _PanelForm\n")
  if(NOT headers MATCHES "${expected}")
    message(FATAL_ERROR "${FILE}: headers lack ${expected}")
  endif()
endforeach()
string(REPLACE "objdump" "windres" WINDRES ${OBJDUMP})
execute_process(COMMAND ${WINDRES} -i ${FILE} -O rc OUTPUT_VARIABLE resources RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "windres could not read the resources of ${FILE}")
endif()
foreach(expected "FILEVERSION 1, 0, 0, 3" "PRODUCTVERSION 1, 0, 0, 3"
    "VALUE \"FileDescription\", \"Tavrin Portica Dock Help Form\""
    "VALUE \"ProductName\", \"Tavrin Portica Dock Help Form\""
    "VALUE \"FileVersion\", \"1.0.0.3\"" "VALUE \"ProductVersion\", \"1.0.0.1\"" "MAINICON")
  string(FIND "${resources}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${FILE}: resources lack ${expected}")
  endif()
endforeach()
