# The release zip: the tools, the dry-run client, the channel header and
# libraries, the example's source and the reference.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME twnkit)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME twnkit-1.0.0-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

add_test(NAME release_zip COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/release.sh
	${CMAKE_BINARY_DIR} ${CMAKE_OBJDUMP})
