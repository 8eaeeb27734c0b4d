# The product's facts (resources/product_facts.toml) become
# generated/product_facts.h, which the program and the fuzz targets compile:
# written at configure time, again whenever the facts change, and rewritten
# only when its text does.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
get_filename_component(PRODUCT_FACTS_DIR ${CMAKE_CURRENT_LIST_DIR}/../resources ABSOLUTE)
set(PRODUCT_FACTS ${PRODUCT_FACTS_DIR}/product_facts.toml ${PRODUCT_FACTS_DIR}/product_facts.py)
execute_process(COMMAND ${Python3_EXECUTABLE} ${PRODUCT_FACTS_DIR}/product_facts.py
                        ${CMAKE_BINARY_DIR}/generated/product_facts.h
                RESULT_VARIABLE facts_result ERROR_VARIABLE facts_error)
if(NOT facts_result EQUAL 0)
  message(FATAL_ERROR "${facts_error}")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PRODUCT_FACTS})
