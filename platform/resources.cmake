# Resources linked into the executable. Each entry is NAME|TYPE|FILE, FILE relative to the
# generator's resource folder. Add new embedded files here.
set(QUILLMERE_RESOURCE_LIST
  "ICON_16x16|ICON|icon16.png"
  "ICON_32x32|ICON|icon32.png"
  "INTROTRACK|OGG|music/INTROTRACK.ogg"
  "OUTROTRACK|OGG|music/OUTROTRACK.ogg"
  "TITLETRACK|OGG|music/TITLETRACK.ogg"
  "TRACK1|OGG|music/TRACK1.ogg"
  "TRACK2|OGG|music/TRACK2.ogg"
  "TRACK3|OGG|music/TRACK3.ogg"
  "TRACK4|OGG|music/TRACK4.ogg"
  "TRACK5|OGG|music/TRACK5.ogg"
  "TRACK6|OGG|music/TRACK6.ogg"
  "TRACK7|OGG|music/TRACK7.ogg"
  "TRACK8|OGG|music/TRACK8.ogg"
  "TRACK9|OGG|music/TRACK9.ogg"
)

# Writes an assembler file that .incbin's every resource and a table the code walks.
function(quillmere_embed_resources target asm_file depends_stamp)
  set(res_dir ${GENERATED_DIR}/res)
  set(body ".section .rodata\n")
  set(table "")
  set(index 0)
  foreach(entry ${QUILLMERE_RESOURCE_LIST})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 res_name)
    list(GET parts 1 res_type)
    list(GET parts 2 res_file)
    string(APPEND body
      ".balign 16\nqm_res_data_${index}:\n.incbin \"${res_dir}/${res_file}\"\nqm_res_end_${index}:\n"
      "qm_res_name_${index}: .asciz \"${res_name}\"\nqm_res_type_${index}: .asciz \"${res_type}\"\n")
    string(APPEND table
      ".quad qm_res_name_${index}\n.quad qm_res_type_${index}\n.quad qm_res_data_${index}\n.quad qm_res_end_${index}\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(content "${body}.section .data.rel.ro,\"aw\"\n.balign 8\n.globl quillmere_resource_table\nquillmere_resource_table:\n${table}.quad 0\n.quad 0\n.quad 0\n.quad 0\n")
  string(APPEND content ".section .note.GNU-stack,\"\",@progbits\n")
  file(CONFIGURE OUTPUT ${asm_file} CONTENT "${content}" @ONLY)
  add_library(${target} STATIC ${asm_file})
  set_source_files_properties(${asm_file} PROPERTIES OBJECT_DEPENDS "${depends_stamp}")
  add_dependencies(${target} assets)
endfunction()
