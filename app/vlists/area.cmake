# The vehicle lists' tests run on the demo through the catalogue-list library
# and the vehicle-identification engine.
cmake_language(DEFER CALL add_dependencies app_vlists_tests PXVCAT PXVJIN)
