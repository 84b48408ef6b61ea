# Run by CPack once the package's tree is installed, before the package is made: a package whose
# manual pages were left out (scdoc missing) is refused rather than built without them. Both are
# looked for by their own folder, so that the French page alone does not pass for the English one.
file(GLOB_RECURSE _orbida_files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(_orbida_folder man/man1 man/fr/man1)
    set(_orbida_pages ${_orbida_files})
    list(FILTER _orbida_pages INCLUDE REGEX "/${_orbida_folder}/orbida\\.1\\.gz$")
    if(NOT _orbida_pages)
        message(FATAL_ERROR "The package has no manual page in ${_orbida_folder}: install scdoc "
                            "(apt-get install scdoc) and make the package again.")
    endif()
endforeach()
