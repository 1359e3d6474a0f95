# The compiled-in pictures: sizes, colours and backgrounds the windows rely on.
quillo_add_test(tst_pictures SOURCES tst_pictures.cpp LIBS quillo_resources)

# The committed PNGs are what their pixel-art and drawing sources make now.
add_test(NAME pictures_outputs_current
         COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/resources/pictures/make-pictures.py --check)
set_tests_properties(pictures_outputs_current PROPERTIES TIMEOUT 300)
