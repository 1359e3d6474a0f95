# The cheque-entry window on a scaled desktop: one program, run once per
# factor, tst_scaling at 150 % and tst_scaling_200 at 200 %.
quillo_add_test(tst_scaling SOURCES tst_scaling.cpp MainWindowFixture.h LIBS quillo_ui)
get_test_property(tst_scaling ENVIRONMENT scaling_environment)
get_test_property(tst_scaling TIMEOUT scaling_timeout)
set_tests_properties(tst_scaling PROPERTIES ENVIRONMENT "${scaling_environment};QT_SCALE_FACTOR=1.5")
add_test(NAME tst_scaling_200 COMMAND ${PROJECT_SOURCE_DIR}/tests/run-isolated.sh $<TARGET_FILE:tst_scaling>)
set_tests_properties(tst_scaling_200 PROPERTIES TIMEOUT ${scaling_timeout}
                     ENVIRONMENT "${scaling_environment};QT_SCALE_FACTOR=2")
