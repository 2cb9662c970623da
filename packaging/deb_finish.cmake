# Run by CPack on the files it has installed for the Debian package, just before it packs them
# (CPACK_PRE_BUILD_SCRIPTS): what Debian's own packaging helpers do to every package, done with
# the same tools. The install rules leave these files as they are for `cmake --install`.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# Debian keeps manual pages and changelogs compressed. -n leaves the file name and time out of
# the gzip header, so the same sources always make the same package.
file(GLOB pages "${usr}/share/man/man[1-9]/*.[1-9]")
foreach(file IN LISTS pages ITEMS "${usr}/share/doc/${CPACK_PACKAGE_NAME}/changelog")
    execute_process(COMMAND gzip -9n "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# The compiler's version string (.comment) and the .note section are of no use to the
# running programs; CPACK_STRIP_FILES has already taken out the symbols.
file(GLOB programs "${usr}/bin/*")
foreach(program IN LISTS programs)
    execute_process(
        COMMAND "${CPACK_BELTRIX_STRIP}" --remove-section=.comment --remove-section=.note
                "${program}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
