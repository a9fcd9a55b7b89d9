# Copies every file under SOURCE to the same place under DESTINATION when it is missing there or
# the source is newer. A file rewritten in the demo folder (say Tallowick.sys after "Update
# systems") is newer than its source and is left as it is, until the source itself changes.
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(file IN LISTS files)
    set(from "${SOURCE}/${file}")
    set(to "${DESTINATION}/${file}")
    # IS_NEWER_THAN is also true for equal times; file(COPY) keeps the source's time.
    if(NOT EXISTS "${to}" OR NOT "${to}" IS_NEWER_THAN "${from}")
        get_filename_component(folder "${to}" DIRECTORY)
        file(COPY "${from}" DESTINATION "${folder}")
    endif()
endforeach()
