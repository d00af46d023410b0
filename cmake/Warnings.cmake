# Warnings apply to our own code only; Qt's and GMP's headers come in as system headers.
add_compile_options(-Wall -Wextra -Wpedantic)
