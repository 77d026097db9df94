# The installation disk is assembled here: setup.exe, the six libraries,
# setup.inf and the driver file.
set(DISK_DIR ${CMAKE_BINARY_DIR}/disk)
# The disk carries small binaries: each function in a section of its own, the
# sections nothing reaches dropped at the link, symbols stripped. Data keeps
# one section: given one each, zero-filled data would take room in the file.
# So no switch becomes a table there: the table would keep its function, and
# every function its cases call, in every binary that links the file.
# No code of ours catches an exception or asks a type at run time, so none
# carries unwind tables or type records: on Windows the tables would keep
# every function they describe alive at the link. Local statics are made
# without a lock: only one thread runs our code (the copy's flush worker
# calls Windows alone), and the lock brings the exception code back.
set(LEAN_FLAGS -ffunction-sections -fno-jump-tables -fno-exceptions -fno-asynchronous-unwind-tables
  $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti> $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
add_compile_options("$<$<CONFIG:MinSizeRel>:${LEAN_FLAGS}>")
# The libraries made before this file is read take them too.
foreach(made_before stf_core program_shared installer_program uninstaller_program)
  target_compile_options(${made_before} PRIVATE "$<$<CONFIG:MinSizeRel>:${LEAN_FLAGS}>")
endforeach()
add_link_options($<$<CONFIG:MinSizeRel>:-Wl,--gc-sections> $<$<CONFIG:MinSizeRel>:-s>)
# Linked into every binary: the terminate handler and allocation without the
# run-time's exception code and demangler, the strings made without it, and
# no registration of unwind tables at start.
add_library(lean_runtime OBJECT ${CMAKE_SOURCE_DIR}/platform/terminate.cpp
  ${CMAKE_SOURCE_DIR}/platform/internal_failure.cpp
  ${CMAKE_SOURCE_DIR}/platform/string_instances.cpp
  ${CMAKE_SOURCE_DIR}/platform/frame_registration.cpp)
target_link_options(lean_runtime INTERFACE -Wl,--wrap=__gcc_register_frame)
target_include_directories(lean_runtime PRIVATE ${CMAKE_SOURCE_DIR})
# msvcrt.dll is not a KnownDLL of Windows NT 4.0: no binary of the disk
# imports it. Each fills its C run-time's import pointers from the system
# directory's copy in an entry of its own (platform/crt_binding/), and its
# build fails when it imports msvcrt.dll after all.
set(CRT_BINDING_DIR ${CMAKE_SOURCE_DIR}/platform/crt_binding)
foreach(kind program library)
  add_library(crt_binding_${kind} OBJECT
    ${CRT_BINDING_DIR}/crt_binding.cpp ${CRT_BINDING_DIR}/${kind}_entry.cpp)
  target_include_directories(crt_binding_${kind} PRIVATE ${CMAKE_SOURCE_DIR})
  # It runs before the run-time: no loop may become a call of memset or memcpy.
  # Without unwind tables nothing refers to the stubs, so the link drops the
  # names a binary does not use and binds only the rest.
  target_compile_options(crt_binding_${kind} PRIVATE -fno-tree-loop-distribute-patterns
    -fno-exceptions -fno-asynchronous-unwind-tables)
endforeach()
set(CRT_ENTRY_program _CrtBoundProgramStart)
set(CRT_ENTRY_library _CrtBoundLibraryStart@12)
function(crt_bind target kind)
  target_link_libraries(${target} PRIVATE crt_binding_${kind})
  target_link_options(${target} PRIVATE -Wl,--entry,${CRT_ENTRY_${kind}})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP}
            bash ${CMAKE_SOURCE_DIR}/cmake/check_crt_bound.sh $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
# Windows NT 4.0's loader refuses an image that asks for a newer system.
add_link_options(-Wl,--major-os-version,4 -Wl,--minor-os-version,0
                 -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0)

# The product: setup.exe linked against import libraries of the toolkit
# libraries made from their export tables (undecorated export names): the
# programs' of the operations only, and the full one our libraries share.
include(${CMAKE_SOURCE_DIR}/cmake/exports.cmake)
set(TOOLKIT_LIBRARIES MSSHLSTF MSCOMSTF MSINSSTF MSUILSTF MSDETSTF)
set(IMPORT_LIBS)
# An import library of lib.dll from a .def file whose names carry the stdcall
# @N suffix: callers link the decorated names, the DLL exports them bare.
# With DELAY, a delay-load import library: the program's own code loads the
# library at its first call (toolkit/checked_libraries.cpp).
function(stf_import_library lib def implib)
  set(kind -l)
  if(ARGN STREQUAL DELAY)
    set(kind -y)
  endif()
  get_filename_component(dir ${implib} DIRECTORY)
  add_custom_command(OUTPUT ${implib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_DLLTOOL} --kill-at -d ${def} -D ${lib}.dll ${kind} ${implib}
    DEPENDS ${def}
    COMMENT "Import library for ${lib}.dll")
endfunction()

set(EXPORTS_DIR ${CMAKE_BINARY_DIR}/exports)
foreach(lib ${TOOLKIT_LIBRARIES})
  set(table ${CMAKE_SOURCE_DIR}/contract/${lib}.exports.h)
  stf_write_def(${table} ${lib}.dll ${EXPORTS_DIR}/${lib}-operations.def OP)
  stf_write_def(${table} ${lib}.dll ${EXPORTS_DIR}/${lib}.def OP OWN BYNAME)
  set(implib ${CMAKE_BINARY_DIR}/imports/lib${lib}.a)
  stf_import_library(${lib} ${EXPORTS_DIR}/${lib}-operations.def ${implib} DELAY)
  list(APPEND IMPORT_LIBS ${implib})
endforeach()
add_custom_target(toolkit_imports DEPENDS ${IMPORT_LIBS})

# The programs' shared code calls the toolkit's operations: the import
# libraries follow it on the link line.
target_link_libraries(program_shared PUBLIC ${IMPORT_LIBS} user32 advapi32)

# The room each program reserves for the disk's manifest: an empty manifest
# padded to MANIFEST_ROOM bytes, filled in place once the disk is made.
set(MANIFEST_ROOM 4096)
set(MANIFEST_ROOM_DIR ${CMAKE_BINARY_DIR}/manifest-room)
string(REPEAT "\n" ${MANIFEST_ROOM} padding)
string(SUBSTRING "disk manifest 1\n${padding}" 0 ${MANIFEST_ROOM} room)
file(WRITE ${MANIFEST_ROOM_DIR}/manifest_room.bin.new "${room}")
configure_file(${MANIFEST_ROOM_DIR}/manifest_room.bin.new ${MANIFEST_ROOM_DIR}/manifest_room.bin COPYONLY)

# setup.exe and uninstall.exe: each its entry, the run-time exit, its
# resources and its part of the program, on the shared part and the toolkit.
# No run-time DLLs beside them: the disk holds only our files.
foreach(exe setup uninstall)
  set(part installer)
  if(exe STREQUAL uninstall)
    set(part uninstaller)
  endif()
  add_executable(${exe} WIN32
    ${CMAKE_SOURCE_DIR}/${part}/${exe}_main.cpp
    ${CMAKE_SOURCE_DIR}/toolkit/run_exit.cpp
    ${CMAKE_SOURCE_DIR}/toolkit/checked_libraries.cpp
    ${CMAKE_SOURCE_DIR}/platform/verify_trust.cpp
    ${CMAKE_SOURCE_DIR}/resources/${exe}.rc)
  add_dependencies(${exe} toolkit_imports)
  target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR} ${MANIFEST_ROOM_DIR})
  target_link_libraries(${exe} PRIVATE ${part}_program lean_runtime ${IMPORT_LIBS} user32 advapi32)
  # The map tells the step after the link where the delay descriptors lie.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/maps)
  set(map ${CMAKE_BINARY_DIR}/maps/${exe}.map)
  target_link_options(${exe} PRIVATE -static -static-libgcc -static-libstdc++
    -Wl,-u,_DelayDescriptorsEnd -Wl,-Map=${map})
  set_target_properties(${exe} PROPERTIES OUTPUT_NAME ${exe} RUNTIME_OUTPUT_DIRECTORY ${DISK_DIR})
  crt_bind(${exe} program)
  add_custom_command(TARGET ${exe} POST_BUILD
    COMMAND python3 ${CMAKE_SOURCE_DIR}/cmake/delay_imports.py --fill $<TARGET_FILE:${exe}> ${map}
    VERBATIM)
endforeach()

# Our toolkit libraries, the dialog library, the disk and the Wine tests.
foreach(part platform/setup-toolkit platform/dialogs disk packaging tests/wine tests/imports tests/signing
    bench)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${part}/CMakeLists.txt)
    # Build files of each part stay out of the disk folder.
    add_subdirectory(${part} ${CMAKE_BINARY_DIR}/parts/${part})
  endif()
endforeach()
