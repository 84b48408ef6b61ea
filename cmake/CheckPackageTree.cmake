# Run by CPack once the package's tree is installed, before the package is made: a package whose
# manual page was left out (scdoc missing) is refused rather than built without it.
file(GLOB_RECURSE _orbida_files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
list(FILTER _orbida_files INCLUDE REGEX "/man1/orbida\\.1\\.gz$")
if(NOT _orbida_files)
    message(FATAL_ERROR "The package has no manual page: install scdoc (apt-get install scdoc) "
                        "and make the package again.")
endif()
