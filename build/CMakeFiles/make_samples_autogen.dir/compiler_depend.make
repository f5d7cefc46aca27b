# Empty custom commands generated dependencies file for make_samples_autogen.
# This may be replaced when dependencies are built.
