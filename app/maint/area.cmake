# The maintenance screens are reached from the set-up menu: its screens are
# linked in where they are built. The tests run the set-up library's
# screen-file services and the group-print helper; the demo test also the
# search-route library that offers the groups.
set(PX_AREA_NEEDS setup)
cmake_language(DEFER CALL add_dependencies app_maint_tests PXSTUP PXSTGP PXKROT)
