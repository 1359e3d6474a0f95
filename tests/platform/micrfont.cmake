# Quillo's E-13B font: the font file and guide picture, and the MICR family
# resolving to it on the screen and on the printed page.
quillo_add_test(tst_micrfont SOURCES tst_micrfont.cpp LIBS quillo_ui)
quillo_add_test(tst_micrsubstitution SOURCES tst_micrsubstitution.cpp LIBS quillo_ui)

# The committed font and guide picture are what the glyph source makes now.
add_test(NAME micr_glyph_outputs_current
         COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/resources/micr/make-micr.py --check)
