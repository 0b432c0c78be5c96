# Release builds are hardened the way Debian builds its packages: checked libc
# calls (_FORTIFY_SOURCE needs optimisation, so Debug builds stay without it),
# a stack protector, relocations read-only and bound at start, and executables
# linked position-independent. The sanitizers bring their own checks instead.
if(NOT LUMORA_SANITIZE)
    set(lumora_release $<CONFIG:Release>)
    add_compile_options(
        # A compiler that already defines _FORTIFY_SOURCE would warn of the redefinition.
        $<${lumora_release}:-U_FORTIFY_SOURCE>
        $<${lumora_release}:-D_FORTIFY_SOURCE=2>
        $<${lumora_release}:-fstack-protector-strong>
        $<${lumora_release}:-fPIE>)
    add_link_options($<${lumora_release}:-pie> $<${lumora_release}:LINKER:-z,relro,-z,now>)
endif()
