# Empty dependencies file for rkfreport.
# This may be replaced when dependencies are built.
