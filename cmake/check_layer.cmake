# cmake -DFOLDER=f -DREACH="f;lower..." -DLAYERS="all..." -DROOT=dir -P check_layer.cmake
# Fails when a file under FOLDER includes a header of a layer outside REACH,
# or, outside platform/, a header of the operating system.
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE files ${ROOT}/${FOLDER}/*.h ${ROOT}/${FOLDER}/*.cpp)
set(system_headers
    "(windows|winsock2?|ws2tcpip|iphlpapi|lm[a-z]*|winreg|unistd|fcntl|ifaddrs|netdb|dirent|pwd|poll|termios|dlfcn)\\.h|(sys|arpa|netinet|net|linux)/")
set(faults "")
foreach(file ${files})
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line ${includes})
    if(line MATCHES "^[^\"]*\"([a-z_]+)/")
      set(layer ${CMAKE_MATCH_1})
      if(NOT layer IN_LIST LAYERS OR layer IN_LIST REACH)
        continue()
      endif()
    elseif(FOLDER STREQUAL "platform" OR NOT line MATCHES "<(${system_headers})")
      continue()
    endif()
    file(RELATIVE_PATH name ${ROOT} ${file})
    string(STRIP "${line}" line)
    string(APPEND faults "  ${name}: ${line}\n")
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "${FOLDER}/ may use only ${REACH} and no header of the operating system; "
                      "these includes go against the layers:\n${faults}")
endif()
