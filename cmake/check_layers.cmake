# Checks the include directions between the program's folders: each folder may include only the
# folders below it, so no layer reaches up into the windows or sideways into a neighbour.
#   recording  <-  shell  <-  files, views, device  <-  reports  <-  app, tools, bench, fuzz
# analysis (the evaluation as numbers) stands on recording alone; files, views and everything
# above them may use it.
# Run as: cmake -DSOURCE_DIR=<top> -P check_layers.cmake   (fails listing every wrong-way include)

cmake_minimum_required(VERSION 3.25)

set(allowed_recording "recording")
set(allowed_analysis  "recording;analysis")
set(allowed_shell     "recording;shell")
set(allowed_files     "recording;analysis;shell;files")
set(allowed_views     "recording;analysis;shell;views")
set(allowed_device    "recording;shell;device")
set(allowed_reports   "recording;analysis;shell;files;views;reports")
set(allowed_app       "recording;analysis;shell;files;views;device;reports;app")
set(allowed_tools     "recording;analysis;shell;files;views;device;reports;tools")
set(allowed_bench     "recording;analysis;shell;files;views;device;reports;bench")
set(allowed_fuzz      "recording;analysis;shell;files;views;device;reports;fuzz")
set(project_folders recording analysis shell files views device reports app tools bench fuzz tests)

set(violations "")
foreach(folder recording analysis shell files views device reports app tools bench fuzz)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" target "${line}")
      if(target IN_LIST project_folders AND NOT target IN_LIST allowed_${folder})
        file(RELATIVE_PATH where "${SOURCE_DIR}" "${source}")
        string(APPEND violations "  ${where}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the layer order:\n${violations}")
endif()
message(STATUS "Layer order kept")
