# Writes the manual page of velmor-cli from its usage text, gzipped:
# cmake -DCLI=velmor-cli -DVERSION=x.y.z -DOUT=velmor-cli.1.gz -P ManPage.cmake
execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help ended with ${status}")
endif()
string(REPLACE "\\" "\\\\" usage "${usage}")
string(REPLACE "-" "\\-" usage "${usage}")
string(REGEX REPLACE "\n$" "" usage "${usage}")
# Every line starts with \& so that none reads as a request.
string(REPLACE "\n" "\n\\&" usage "${usage}")
string(TIMESTAMP today "%Y-%m-%d" UTC)
set(page ".TH VELMOR\\-CLI 1 \"${today}\" \"velmor\\-cli ${VERSION}\" \"Comenzi utilizator\"
.SH NUME
velmor\\-cli \\- registrul agricol fara ferestre
.SH SINOPSIS
.nf
\\&${usage}
.fi
.SH DESCRIERE
.B velmor\\-cli
face din linia de comanda ce face programul cu ferestre: fiecare comanda lucreaza pe un director de
date dat cu \\fB\\-\\-data\\fR, scrie rezultatul pe iesirea standard (UTF\\-8, coloane separate prin tab)
si mesajele pe iesirea de erori.
.SH STARE LA IESIRE
0 cand comanda a reusit, 1 cand a fost refuzata sau nu a reusit, 2 cand a fost data gresit.
.SH VEZI SI
.BR velmor (1)
")
get_filename_component(dir "${OUT}" DIRECTORY)
get_filename_component(name "${OUT}" NAME_WLE)
file(WRITE "${dir}/${name}" "${page}")
execute_process(COMMAND gzip -9nf "${dir}/${name}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${dir}/${name}")
endif()
