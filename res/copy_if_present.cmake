# cmake -D src=DIR -D dst=DIR -P copy_if_present.cmake: copies DIR's contents when it exists.
if(IS_DIRECTORY "${src}")
  file(COPY "${src}/" DESTINATION "${dst}")
endif()
