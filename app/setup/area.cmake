# The set-up screens' demo tests run the set-up libraries themselves.
cmake_language(DEFER CALL add_dependencies app_setup_tests PXSTUP PXSIUP)
