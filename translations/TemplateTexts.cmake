# Writes the texts that the dialog templates in resources/ show as they have
# them, as C++ that lupdate reads beside the sources:
#
#   cmake -DRESOURCES=<resources dir> -DOUTPUT=<file.cpp> -P TemplateTexts.cmake
#
# A template shows the text of each control without an id (a window gives
# every control it can find by id a text of its own, so those template
# texts are placeholders), and measures a list's columns by its "fit" text.
# The builder translates both in the template's "context", the class name of
# the window. The menu's items always get
# their texts from the windows, by command id: none of its texts is shown.
cmake_minimum_required(VERSION 3.25)
if(NOT RESOURCES OR NOT OUTPUT)
  message(FATAL_ERROR "usage: cmake -DRESOURCES=<dir> -DOUTPUT=<file.cpp> -P TemplateTexts.cmake")
endif()

# A text as a C++ string literal.
function(cpp_literal text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

set(lines "// Written by translations/TemplateTexts.cmake: the texts the dialog\n\
// templates show as they have them.\n")
file(GLOB templates "${RESOURCES}/dialogs/*.json")
list(SORT templates)
foreach(template IN LISTS templates)
  file(READ "${template}" json)
  string(JSON context ERROR_VARIABLE no_context GET "${json}" context)
  string(JSON count LENGTH "${json}" controls)
  if(count EQUAL 0)
    continue()
  endif()
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON id ERROR_VARIABLE no_id GET "${json}" controls ${i} id)
    string(JSON text ERROR_VARIABLE no_text GET "${json}" controls ${i} text)
    string(JSON fit ERROR_VARIABLE no_fit GET "${json}" controls ${i} fit)
    set(shown "")
    if(no_id AND NOT no_text AND NOT text STREQUAL "")
      list(APPEND shown "${text}")
    endif()
    if(NOT no_fit AND NOT fit STREQUAL "")
      list(APPEND shown "${fit}")
    endif()
    foreach(text IN LISTS shown)
      if(no_context)
        message(FATAL_ERROR "${template} shows \"${text}\" (a control without an id, or a "
                            "list's fit text) but names no \"context\" to translate it in")
      endif()
      cpp_literal("${context}" context_literal)
      cpp_literal("${text}" text_literal)
      string(APPEND lines "QT_TRANSLATE_NOOP(${context_literal}, ${text_literal})\n")
    endforeach()
  endforeach()
endforeach()
file(WRITE "${OUTPUT}" "${lines}")
