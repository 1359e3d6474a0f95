# The E-13B font that stands in for the MICR font when it is not installed.
target_sources(quillo_ui PRIVATE
    qt/MicrFont.h qt/MicrFont.cpp
)
