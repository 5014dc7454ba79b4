# How the board ends on a signal, and how it keeps to one per folder, in child processes.
jbw_add_test(platform_process_test SOURCES FolderLockTest.cpp TerminationSignalsTest.cpp
             LIBS jbw_platform Qt6::Core)
