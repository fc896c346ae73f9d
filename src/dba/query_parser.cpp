namespace dba {}
