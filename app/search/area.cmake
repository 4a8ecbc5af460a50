# The search screens' tests run the search-route, index and local-parts
# libraries (the real ones where no catalogue is needed, and on the demo).
cmake_language(DEFER CALL add_dependencies app_search_tests PXKROT PXEMOK PXLPPS)
