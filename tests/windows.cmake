# The Windows build's own system tests, run under Wine. The Linux ones (the .deb,
# the desktop entry, the window driven through xdotool and openbox) are not
# built here, nor the fuzzing, which needs clang's libFuzzer for the host.
