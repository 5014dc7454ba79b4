# Where the tests find the units of tests/units and the pack tool; included by every
# test folder that loads them.
set(JBW_TEST_UNIT_DEFINITIONS
  JBW_TEST_UNIT="$<TARGET_FILE:jbw_test_unit>"
  JBW_NO_EXPORTS_UNIT="$<TARGET_FILE:jbw_odd_unit_0>"
  JBW_NEGATIVE_UNIT="$<TARGET_FILE:jbw_odd_unit_1>"
  JBW_DAMAGED_TABLE_UNIT="$<TARGET_FILE:jbw_odd_unit_2>"
  JBW_NULL_TABLE_UNIT="$<TARGET_FILE:jbw_odd_unit_3>"
  JBW_UNIT_TEMPLATE="$<TARGET_FILE:jbw_unit_template>"
  JBW_UNIT_PACK="$<TARGET_FILE:jbw-unit-pack>"
  JBW_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data/")
set(JBW_TEST_UNITS jbw_test_unit jbw_odd_unit_0 jbw_odd_unit_1 jbw_odd_unit_2 jbw_odd_unit_3)
