# Empty custom commands generated dependencies file for rkftestsupport_autogen.
# This may be replaced when dependencies are built.
