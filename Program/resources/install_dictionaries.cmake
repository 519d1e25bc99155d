# The sample dictionaries, Dictionaries/de-ru_full.dic and en-ru_full.dic with their common
# packages de-ru_common.dic and en-ru_common.dic, built from Debian's FreeDict databases
# (scripts/install-deps.sh installs them) by dictool: the importer turns each
# dictd database into builder source behind its hand-written members (tools/dictool/samples),
# make_flags.py draws its flag icons, and the builder writes the package. Word forms come from
# Debian's Hunspell dictionaries, expanded by Hunspell's unmunch into (form, base) pairs
# (tools/hunspell_forms.py), and from the project's tables of irregular forms
# (tools/dictool/samples/forms); "dictool forms" makes the packages' ending rules of them and the
# words of the forms the rules do not reach (docs/dictionary-source.md); "dictool forms-check"
# then looks every form and every word up in the packages built.
#
# A cross build cannot run its own dictool.exe without Wine and a Wine prefix, neither of which
# the build may rely on (the prefix belongs to the test run). It builds a second dictool for the
# build machine instead, as a separate host project of tools/dictool.
set(PARLAVENT_DICTD_DIR /usr/share/dictd CACHE PATH "Where the dictd databases of the samples are")
set(dictionaries_dir ${PARLAVENT_INSTALL_DIR}/Dictionaries)
set(samples_work_dir ${CMAKE_CURRENT_BINARY_DIR}/dictionaries)
set(samples_source_dir ${PROJECT_SOURCE_DIR}/tools/dictool/samples)
set(PARLAVENT_HUNSPELL_DIR /usr/share/hunspell CACHE PATH "Where the Hunspell dictionaries of the samples' word forms are")
find_program(PARLAVENT_UNMUNCH unmunch REQUIRED)
set(forms_work_dir ${samples_work_dir}/forms)

# The (form, base) pairs of one Hunspell dictionary, made once for every sample that needs them;
# ARGN: the affix flags of derivations, which make words of their own rather than forms.
function(parlavent_hunspell_forms lang)
  set(out ${forms_work_dir}/${lang}.tsv)
  set(data ${PARLAVENT_HUNSPELL_DIR}/${lang}.dic ${PARLAVENT_HUNSPELL_DIR}/${lang}.aff)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${forms_work_dir}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/hunspell_forms.py ${PARLAVENT_UNMUNCH} ${data} ${out} ${ARGN}
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/hunspell_forms.py ${data}
    COMMENT "Expanding the Hunspell dictionary ${lang} into word forms"
    VERBATIM)
endfunction()
parlavent_hunspell_forms(de_DE FJLMB)
parlavent_hunspell_forms(en_US VNXHYJPBLZ)
parlavent_hunspell_forms(ru_RU)

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_dictool_dir ${CMAKE_BINARY_DIR}/host-dictool)
  set(host_dictool ${host_dictool_dir}/dictool)
  ExternalProject_Add(host_dictool
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/dictool
    BINARY_DIR ${host_dictool_dir}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${host_dictool})
  set(dictool_command ${host_dictool})
  set(dictool_target host_dictool ${host_dictool})
else()
  set(dictool_command $<TARGET_FILE:dictool>)
  set(dictool_target dictool)
endif()

# sample(NAME DATABASE LANG1 LANG2 HUNSPELL1 [IMPORT_OPTIONS...]): NAME_full.dic from
# NAME.head.txt, the optional NAME.full.head.txt, the whole database and the word forms of both
# sides (HUNSPELL1's and the LANG1 table for side 1, ru_RU's and the Russian table for side 2);
# NAME_common.dic, the common package paired with it on loading, from NAME.head.txt, the ending
# rules, NAME.common.head.txt and the headwords that have a transcription. The program reads
# transcriptions only from a common package, so the full package is built without its
# "Transcript" section.
function(parlavent_sample name database lang1 lang2 hunspell1)
  set(work ${samples_work_dir}/${name})
  set(full_package ${dictionaries_dir}/${name}_full.dic)
  set(common_package ${dictionaries_dir}/${name}_common.dic)
  set(shared_head ${samples_source_dir}/${name}.head.txt)
  set(full_heads --head ${shared_head})
  set(full_head_files ${shared_head})
  if(EXISTS ${samples_source_dir}/${name}.full.head.txt)
    list(APPEND full_heads --head ${samples_source_dir}/${name}.full.head.txt)
    list(APPEND full_head_files ${samples_source_dir}/${name}.full.head.txt)
  endif()
  set(common_head ${samples_source_dir}/${name}.common.head.txt)
  set(forms_tables ${samples_source_dir}/forms)
  set(dictd ${PARLAVENT_DICTD_DIR}/${database}.index ${PARLAVENT_DICTD_DIR}/${database}.dict.dz)
  set(forms_pairs --side1 ${forms_tables}/${lang1}.tsv --side1 ${forms_work_dir}/${hunspell1}.tsv
                  --side2 ${forms_tables}/${lang2}.tsv --side2 ${forms_work_dir}/ru_RU.tsv)
  # The packages are checked in a folder of their own, as the program loads them, before they
  # take their places: every form reaches its base and every word shows its own translations
  # first, or the build fails.
  set(checked ${work}/checked)
  file(STRINGS ${shared_head} short_name REGEX "^ShortName=" LIMIT_COUNT 1)
  string(REPLACE "ShortName=" "" short_name "${short_name}")
  add_custom_command(
    OUTPUT ${full_package} ${common_package}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${work} ${dictionaries_dir}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make_flags.py ${lang1} ${lang2} ${work}/${name}_flag
    COMMAND ${dictool_command} import-dictd ${ARGN} ${full_heads} ${dictd} ${work}/${name}_imported.txt
    COMMAND ${dictool_command} forms ${forms_pairs} ${work}/${name}_imported.txt ${work}/${name}_replace.txt ${work}/${name}_full.txt
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${checked}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${checked}
    COMMAND ${dictool_command} build --without-transcriptions ${work}/${name}_full.txt ${checked}/${name}_full.dic
    COMMAND ${dictool_command} import-dictd ${ARGN} --transcriptions-only --head ${shared_head}
            --head ${work}/${name}_replace.txt --head ${common_head} ${dictd} ${work}/${name}_common.txt
    COMMAND ${dictool_command} build ${work}/${name}_common.txt ${checked}/${name}_common.dic
    COMMAND ${dictool_command} check ${checked}/${name}_full.dic
    COMMAND ${dictool_command} check ${checked}/${name}_common.dic
    COMMAND ${dictool_command} forms-check ${forms_pairs} ${checked} ${short_name} ${work}/${name}_imported.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${checked}/${name}_full.dic ${full_package}
    COMMAND ${CMAKE_COMMAND} -E copy ${checked}/${name}_common.dic ${common_package}
    DEPENDS ${dictool_target} ${full_head_files} ${common_head}
            ${forms_tables}/${lang1}.tsv ${forms_tables}/${lang2}.tsv
            ${forms_work_dir}/${hunspell1}.tsv ${forms_work_dir}/ru_RU.tsv
            ${PROJECT_SOURCE_DIR}/tools/make_flags.py ${PROJECT_SOURCE_DIR}/tools/make_icon.py ${dictd}
    COMMENT "Building the sample dictionaries ${name}_full.dic and ${name}_common.dic from ${database}"
    VERBATIM)
  add_custom_target(parlavent_sample_${name} DEPENDS ${full_package} ${common_package})
  add_dependencies(parlavent_program_files parlavent_sample_${name})
endfunction()

parlavent_sample(de-ru freedict-deu-rus de ru de_DE --explanations)
parlavent_sample(en-ru freedict-eng-rus en ru en_US)
