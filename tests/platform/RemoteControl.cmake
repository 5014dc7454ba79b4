# The control service and the command line's calls to it, on a private session bus.
jbw_add_test(platform_remote_control_test SESSION_BUS SOURCES RemoteControlTest.cpp
             LIBS jbw_platform Qt6::DBus)
