# Empty custom commands generated dependencies file for rkfreport_autogen.
# This may be replaced when dependencies are built.
