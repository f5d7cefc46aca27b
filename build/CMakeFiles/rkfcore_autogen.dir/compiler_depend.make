# Empty custom commands generated dependencies file for rkfcore_autogen.
# This may be replaced when dependencies are built.
