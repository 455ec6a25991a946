# The kill switch and the update job as a small library of their own, so that
# their tests and benchmark build without the rest of the daemon.
if(NOT TARGET kestrova_firewall_core)
    add_library(kestrova_firewall_core STATIC
        ${PROJECT_SOURCE_DIR}/daemon/addresslist.cpp
        ${PROJECT_SOURCE_DIR}/daemon/callerfile.cpp
        ${PROJECT_SOURCE_DIR}/daemon/firewall.cpp
        ${PROJECT_SOURCE_DIR}/daemon/firewallrunner.cpp
        ${PROJECT_SOURCE_DIR}/daemon/firewallscripts.cpp
        ${PROJECT_SOURCE_DIR}/daemon/firewallstate.cpp
        ${PROJECT_SOURCE_DIR}/daemon/managementportguards.cpp
        ${PROJECT_SOURCE_DIR}/daemon/safeopen.cpp
        ${PROJECT_SOURCE_DIR}/daemon/spawn.cpp
        ${PROJECT_SOURCE_DIR}/daemon/updatejob.cpp)
    target_include_directories(kestrova_firewall_core PUBLIC ${PROJECT_SOURCE_DIR}/daemon)
    find_package(Threads REQUIRED)
    target_link_libraries(kestrova_firewall_core PUBLIC Threads::Threads)
    kestrova_strict_warnings(kestrova_firewall_core)
endif()
