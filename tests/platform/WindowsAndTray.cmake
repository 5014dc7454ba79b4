# Window procedures, the notification area, icons and the registry file.
jbw_add_test(platform_windows_test SOURCES WindowsTest.cpp NotifyIconTest.cpp
             LIBS jbw_platform Qt6::Widgets)
jbw_add_test(platform_registry_test SOURCES RegistryTest.cpp LIBS jbw_platform)
