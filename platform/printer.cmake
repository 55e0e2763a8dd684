# The Qt printer over QPrinter and QPainter, part of platform_widgets.
if(NOT TARGET platform_widgets)
  add_library(platform_widgets STATIC)
  target_link_libraries(platform_widgets PUBLIC platform_core Qt6::Widgets)
endif()
target_sources(platform_widgets PRIVATE UQtPrinter.h UQtPrinter.cpp)
target_link_libraries(platform_widgets PUBLIC Qt6::PrintSupport)
