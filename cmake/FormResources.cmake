# bv_embed_form_files(target [FUNCTION name] file...): compiles text form
# files into target. With FUNCTION, brevant::name() registers them when first
# called (for libraries); without, they are registered at start-up.
# Each file's first line names its root ("object MainForm: TMainForm"); a
# generated source registers the text under that class name
# (controls/form_resources.h), so creating the form reads it.
set(BV_FORM_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFormFiles.cmake)

function(bv_embed_form_files target)
  cmake_parse_arguments(E "" "FUNCTION" "" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_form_resources.cpp)
  set(inputs)
  foreach(f ${E_UNPARSED_ARGUMENTS})
    get_filename_component(abs ${f} ABSOLUTE)
    list(APPEND inputs ${abs})
  endforeach()
  string(REPLACE ";" "|" joined "${inputs}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DINPUTS=${joined} -DFUNCTION=${E_FUNCTION} -P ${BV_FORM_RESOURCES_SCRIPT}
    DEPENDS ${inputs} ${BV_FORM_RESOURCES_SCRIPT}
    COMMENT "Embedding form files of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
