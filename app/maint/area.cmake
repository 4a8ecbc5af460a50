# The maintenance screens' tests run the set-up library's screen-file
# services and the group-print helper; the demo test also the search-route
# library that offers the groups.
cmake_language(DEFER CALL add_dependencies app_maint_tests PXSTUP PXSTGP PXKROT)
