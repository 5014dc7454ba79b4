# The control service and the command line's calls to it, on a private session bus; and
# whether a plain start has a desktop session to show its windows in.
jbw_add_test(platform_remote_control_test SESSION_BUS SOURCES RemoteControlTest.cpp
             LIBS jbw_platform Qt6::DBus)
jbw_add_test(platform_desktop_session_test SOURCES DesktopSessionTest.cpp LIBS jbw_platform)
