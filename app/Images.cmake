# The pictures of the window, taken from the Adwaita icon theme (Debian's
# adwaita-icon-theme, installed by tools/setup) and compiled into the program
# as resources: ":/toolbar/NN.png", ":/fields/NN.png", ":/pictures/NN.png";
# and the program's own icon as ":/pictures/quorvane.png". The window draws
# the symbolic ones in the text colour, as the desktop does.
set(QUORVANE_ICON_THEME_DIR /usr/share/icons/Adwaita CACHE PATH "The Adwaita icon theme's folder")

set(quorvane_toolbar_images
  24x24/legacy/document-new.png          # 0 New Profile
  24x24/legacy/document-open.png         # 1 Open Profile
  24x24/legacy/document-save.png         # 2 Save Profile
  24x24/legacy/document-save-as.png      # 3 Save Profile as
  24x24/legacy/list-add.png              # 4 Add Files
  24x24/places/folder-open.png           # 5 Add Folder
  24x24/legacy/list-remove.png           # 6 Remove selected
  24x24/legacy/edit-delete.png           # 7 Remove all
  24x24/actions/go-top-symbolic.symbolic.png     # 8 Move to Top (symbolic)
  24x24/actions/go-up-symbolic.symbolic.png      # 9 Move up (symbolic)
  24x24/actions/go-down-symbolic.symbolic.png    # 10 Move down (symbolic)
  24x24/actions/go-bottom-symbolic.symbolic.png  # 11 Move to Bottom (symbolic)
  24x24/ui/checkbox-checked-symbolic.symbolic.png  # 12 Check All (symbolic): a ticked box
  24x24/legacy/object-flip-horizontal.png  # 13 Invert Checks
  24x24/ui/checkbox-symbolic.symbolic.png  # 14 Uncheck All (symbolic): an empty box
  24x24/legacy/help-about.png            # 15 Info
  24x24/legacy/application-exit.png      # 16 Exit
  24x24/legacy/edit-undo.png)            # 17 Undo Renaming
set(quorvane_field_images
  24x24/legacy/document-open-recent.png  # 0 clock
  24x24/mimetypes/x-office-calendar.png  # 1 calendar
  24x24/legacy/format-justify-fill.png   # 2 bracket group
  24x24/legacy/insert-text.png           # 3 bracket
  24x24/legacy/accessories-calculator.png  # 4 counter
  24x24/legacy/insert-object.png)        # 5 the field-insert button
set(quorvane_pictures
  512x512/places/folder-documents.png    # 0 file selection
  48x48/legacy/preferences-system.png    # 1 settings
  512x512/mimetypes/application-x-executable.png)  # 2 action

function(quorvane_add_images TARGET)
  set(files)
  foreach(group toolbar field picture)
    if(group STREQUAL "toolbar")
      set(list ${quorvane_toolbar_images})
      set(prefix toolbar)
    elseif(group STREQUAL "field")
      set(list ${quorvane_field_images})
      set(prefix fields)
    else()
      set(list ${quorvane_pictures})
      set(prefix pictures)
    endif()
    set(index 0)
    foreach(image ${list})
      set(path ${QUORVANE_ICON_THEME_DIR}/${image})
      if(NOT EXISTS ${path})
        message(FATAL_ERROR "Missing ${path}: run tools/setup to install adwaita-icon-theme")
      endif()
      if(index LESS 10)
        set(name "0${index}")
      else()
        set(name "${index}")
      endif()
      set_source_files_properties(${path} PROPERTIES QT_RESOURCE_ALIAS "${prefix}/${name}.png")
      list(APPEND files ${path})
      math(EXPR index "${index} + 1")
    endforeach()
  endforeach()
  # The program's own icon, for its windows.
  set(icon ${PROJECT_SOURCE_DIR}/app/desktop/quorvane-48.png)
  set_source_files_properties(${icon} PROPERTIES QT_RESOURCE_ALIAS "pictures/quorvane.png")
  list(APPEND files ${icon})
  qt_add_resources(${TARGET} quorvane_images PREFIX "/" FILES ${files})
endfunction()
