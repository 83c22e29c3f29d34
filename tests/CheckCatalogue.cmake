# Brings a copy of the English catalogue up to date with the sources, as the
# update_translations target does, and fails for each German text in it
# without a finished translation: a German message added to the code must
# reach the catalogue translated. English texts may stay untranslated.
# Takes LUPDATE, CATALOGUE, COPY and ARGS (lupdate's arguments, a list).
cmake_minimum_required(VERSION 3.25)
file(COPY_FILE ${CATALOGUE} ${COPY})
execute_process(COMMAND ${LUPDATE} ${ARGS} -ts ${COPY} RESULT_VARIABLE Result)
if(NOT Result EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${Result}")
endif()
file(READ ${COPY} Text)
# One list item per message; the texts' own ";" are kept aside first.
string(REPLACE ";" "&#59;" Text "${Text}")
string(REPLACE "</message>" ";" Messages "${Text}")
# Umlauts and sharp s, German function words, and the stems of this
# program's German nouns (compounds such as "Startwert" included).
set(Words "[Dd](er|ie|as|en|em|es)|[Ee]ine?|[Ii]st|[Ss]ind|[Nn]icht|[Kk]ann|[Ss]oll|auf|mit|und|oder|zu|im|nur"
  "|[Aa]lle|werden|wird|muss|keine?|trotzdem|folgende|[Bb]itte|Sie")
set(Stems "[Dd]atei|[Ff]eld|[Kk]lammer|[Zz]ahl|[Zz]eichen|[Ff]ehler|[Ww]ert|[Ww]eite|[Bb]reite|[Oo]rdner"
  "|[Pp]rofil([^e]|$)|[Ss]peicher|[Uu]mbenenn")
string(CONCAT German "ä|ö|ü|Ä|Ö|Ü|ß|(^|[^A-Za-z])(" ${Words} ")([^A-Za-z]|$)|" ${Stems})
set(Missing "")
foreach(Message IN LISTS Messages)
  if(NOT Message MATCHES "<source>(.*)</source>")
    continue()
  endif()
  set(Source "${CMAKE_MATCH_1}")
  if(NOT Source MATCHES "${German}")
    continue()
  endif()
  if(Message MATCHES "type=\"unfinished\"" OR Message MATCHES "<translation></translation>"
     OR Message MATCHES "<numerusform></numerusform>")
    string(APPEND Missing "\n  ${Source}")
  endif()
endforeach()
if(Missing)
  message(FATAL_ERROR "German texts without an English translation in ${CATALOGUE}:${Missing}")
endif()
