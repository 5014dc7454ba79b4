# Window procedures, the notification area, icons and the registry file.
jbw_add_test(platform_windows_test SOURCES WindowsTest.cpp NotifyIconTest.cpp
  LIBS jbw_platform jbw_test_qt)
jbw_add_test(platform_registry_test SOURCES RegistryTest.cpp LIBS jbw_platform)
jbw_add_test(platform_sni_icon_test SESSION_BUS SOURCES StatusNotifierIconTest.cpp
  LIBS jbw_platform jbw_test_qt Qt6::DBus)
