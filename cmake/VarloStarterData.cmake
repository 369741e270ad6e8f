# The starter jigsaws: freely licensed photographs from Debian's wallpaper
# packages (installed by scripts/setup-deps.sh), packed at build time with
# varlo-tool into ${VARLO_DATA_OUT}/jigsaws, with their list thumbnails in
# ${VARLO_DATA_OUT}/thumb and the two lists the game reads at start-up.
# Sources and licences: data/LICENSES.md. Included from tools/CMakeLists.txt
# once the varlo-tool target exists.
#
# Each entry: jigsaw name | photograph | title line | credit line.
set(VARLO_STARTER_PHOTO_DIR /usr/share/backgrounds CACHE PATH "Folder of the starter photographs")
set(VARLO_STARTER_JIGSAWS
  "Mountain Path|picosdeeuropa_by_Aitzol_Berasategi.jpg|A mountain path in the Picos de Europa|Photograph by Aitzol Berasategi, CC BY 4.0"
  "Autumn Mountains|aitzgorri_by_Aitzol_Berasategi.jpg|Autumn in the Aizkorri mountains|Photograph by Aitzol Berasategi, CC BY 4.0"
  "Forest Stream|life_by_Aitzol_Berasategi.jpg|A stream running through the forest|Photograph by Aitzol Berasategi, CC BY 4.0"
  "Sunset|sunset_by_Aitzol_Berasategi.jpg|Sunset over the hills|Photograph by Aitzol Berasategi, CC BY 4.0"
  "Dandelions|seeding_by_Clements_Engelhardt.jpg|Dandelion clocks in the evening light|Photograph by Clemens Engelhardt, CC0 1.0"
  "Dogs at the Window|friends_by_Aitzol_Berasategi.jpg|Two friends looking out of the window|Photograph by Aitzol Berasategi, CC BY 4.0"
  "Fig in a Red Bowl|Picture_0B_by_freespace.jpg|A fig in a red bowl|Photograph by Trevor \"Freespace\", CC BY 4.0"
  "Paint Brushes|Picture_1A_by_freespace.jpg|Brushes in every colour|Photograph by Trevor \"Freespace\", CC BY 4.0"
  "Dragonfly|Dragonfly_by_Bolly.jpg|A dragonfly resting on a twig|Photograph by Bolly, CC BY-SA 4.0"
  "Ladybird|mate/nature/LadyBird.jpg|A ladybird on a green leaf|Photograph by Charles Barbin, GPL-2+"
  "Marigold|mate/nature/Garden.jpg|A marigold in the garden|Photograph by Charles Barbin, GPL-2+"
)
# Large photographs are reduced to this width: big enough for 4000 pieces on
# a large screen, small enough to keep packs and the build quick.
set(VARLO_STARTER_WIDTH 2000)

set(starter_jig_dir ${VARLO_DATA_OUT}/jigsaws)
set(starter_thumb_dir ${VARLO_DATA_OUT}/thumb)
set(starter_info_dir ${CMAKE_BINARY_DIR}/starter-info)
file(MAKE_DIRECTORY ${starter_jig_dir} ${starter_thumb_dir} ${starter_info_dir})

set(starter_outputs "")
set(starter_names "")
foreach(entry IN LISTS VARLO_STARTER_JIGSAWS)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 photo)
  list(GET parts 2 title)
  list(GET parts 3 credit)
  set(photo_path ${VARLO_STARTER_PHOTO_DIR}/${photo})
  if(NOT EXISTS ${photo_path})
    message(STATUS "Starter jigsaw \"${name}\" left out: ${photo_path} is not installed")
    continue()
  endif()
  # The info window's text: UTF-8 with its byte-order mark (the tool adds it).
  set(info ${starter_info_dir}/${name}.txt)
  file(WRITE ${info} "${title}\r\n\r\n${credit}\r\n")
  set(pack "${starter_jig_dir}/${name}.ast")
  set(list_thumb "${starter_thumb_dir}/${name}.jpg")
  add_custom_command(
    OUTPUT ${pack} ${list_thumb}
    COMMAND varlo-tool pack --picture ${photo_path} --info ${info} --out ${pack}
            --max-width ${VARLO_STARTER_WIDTH} --list-thumb ${list_thumb}
    DEPENDS varlo-tool ${photo_path} ${info}
    COMMENT "Packing the starter jigsaw ${name}"
    VERBATIM)
  list(APPEND starter_outputs ${pack} ${list_thumb})
  list(APPEND starter_names ${name})
endforeach()

# distjiglist.txt names the packs with their extension (restored on every
# start), jiglist.txt the jigsaws without it (copied on the first run).
set(dist_list "")
set(jig_list "")
foreach(name IN LISTS starter_names)
  string(APPEND dist_list "${name}.ast\r\n")
  string(APPEND jig_list "${name}\r\n")
endforeach()
file(WRITE ${starter_jig_dir}/distjiglist.txt "${dist_list}")
file(WRITE ${starter_thumb_dir}/jiglist.txt "${jig_list}")

add_custom_target(varlo_starter_jigsaws ALL DEPENDS ${starter_outputs})

install(FILES ${starter_jig_dir}/distjiglist.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/varlo-jigsaw/jigsaws)
install(FILES ${starter_thumb_dir}/jiglist.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/varlo-jigsaw/thumb)
foreach(name IN LISTS starter_names)
  install(FILES "${starter_jig_dir}/${name}.ast" DESTINATION ${CMAKE_INSTALL_DATADIR}/varlo-jigsaw/jigsaws)
  install(FILES "${starter_thumb_dir}/${name}.jpg" DESTINATION ${CMAKE_INSTALL_DATADIR}/varlo-jigsaw/thumb)
endforeach()
